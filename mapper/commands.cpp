// The form's commands (the dialog procedure's command branch) and the colours of its statics.
#include "commands.h"

#include <optional>
#include <string>

#include "form_model.h"
#include "rules.h"

namespace {

template <class Form>
void changeEnclosureType(Form& form, const BladeCatalogue& catalogue) {
    showMessage(form, "");
    const int selection = form.getSelection(IDC_ENCLOSURE_TYPE);
    if (selection == ENCLOSURE_STANDARD || selection == ENCLOSURE_ENHANCED) form.enclosureType = selection;

    const bool enhanced = form.enclosureType == ENCLOSURE_ENHANCED;
    for (int c = 0; c < ids::kColumns; ++c) {
        form.setVisible(ids::lowerBay(c), enhanced);
        if (enhanced) form.setEnabled(ids::lowerBay(c), true);
        form.setVisible(ids::lowerCaption(c), enhanced);
    }
    // Every bay again, with its column's OS as it stands after the bays before it.
    for (int bay = ids::upperBay(0); bay < ids::lowerBay(ids::kColumns); ++bay) {
        const int osIndex = form.getSelection(ids::columnOs(ids::columnOfBay(bay)));
        updateEnclosure(form, catalogue, bayWord(bay, false), osIndex);
    }
    updateEnclosure(form, catalogue, kNoBay, -1);
}

// Text of a bay's selected entry; nothing when it has no selection or the text can't be read.
template <class Form>
std::optional<std::string> selectedText(Form& form, int bayId) {
    const int selection = form.getSelection(bayId);
    if (selection < 0) return std::nullopt;
    return form.getEntryText(bayId, selection);
}

// Selects the first entry equal to `text` and applies the bay; a bay that does not offer the
// text keeps what it holds.
template <class Form>
void fillBay(Form& form, const BladeCatalogue& catalogue, int bayId, const std::string& text,
             int osIndex) {
    for (int index = 0;; ++index) {
        const std::optional<std::string> entry = form.getEntryText(bayId, index);
        if (!entry) return;
        if (*entry != text) continue;
        form.setSelection(bayId, index);
        updateEnclosure(form, catalogue, bayWord(bayId, true), osIndex);
        return;
    }
}

// Copies the first placed blade type (bay 1, 9, 2, 10, ...; upper bays only in Standard) into
// every bay that offers it, bay by bay, each applied and recomputed before the next.
template <class Form>
void fillWithSame(Form& form, const BladeCatalogue& catalogue) {
    showMessage(form, "");
    const bool enhanced = form.enclosureType == ENCLOSURE_ENHANCED;
    std::optional<std::string> source;
    int sourceColumn = 0;
    for (int c = 0; c < ids::kColumns && !source; ++c) {
        sourceColumn = c;
        if (form.getSelection(ids::upperBay(c)) >= 0) source = selectedText(form, ids::upperBay(c));
        else if (enhanced) source = selectedText(form, ids::lowerBay(c));
    }
    if (!source) return;

    const int osIndex = form.getSelection(ids::columnOs(sourceColumn));
    for (int c = 0; c < ids::kColumns; ++c) {
        fillBay(form, catalogue, ids::upperBay(c), *source, osIndex);
        if (enhanced) fillBay(form, catalogue, ids::lowerBay(c), *source, osIndex);
    }
}

// The labels of a half-height blade's lower rows are green, every other label blue. The type is
// the upper bay's when it holds a blade; a column with neither bay filled is painted blue.
// The bay's selection is read again for its text, as selectedText reads it.
template <class Form>
std::optional<std::uint32_t> labelColour(Form& form, const BladeCatalogue& catalogue, int labelId) {
    const int c = ids::labelColumn(labelId);
    int bay;
    if (form.getSelection(ids::upperBay(c)) >= 0) bay = ids::upperBay(c);
    else if (form.getSelection(ids::lowerBay(c)) >= 0) bay = ids::lowerBay(c);
    else return kUpperRowBlue;
    const int selection = form.getSelection(bay);
    if (selection < 0) return std::nullopt;
    const auto text = readEntry(form, bay, selection);
    if (!text) return std::nullopt;
    const BladeType& type = catalogue.row(entryRow(form, catalogue, bay, selection, *text, 1));
    const bool lowerRow = ids::labelRow(labelId) >= ids::kFirstLowerLabelRow;
    return (type.flags & HALF_HEIGHT) && lowerRow ? kLowerRowGreen : kUpperRowBlue;
}

}  // namespace

bool isFormCommand(int id, int code) {
    if (id == IDC_CANCEL || id == IDC_RESET || id == IDC_FILL_WITH_SAME) return true;
    return code == kSelectionChanged && (ids::isBay(id) || id == IDC_ENCLOSURE_TYPE || ids::isColumnOs(id));
}

namespace {

template <class Form>
bool run(Form& form, const BladeCatalogue& catalogue, int id, int code, int& quitState) {
    if (!isFormCommand(id, code)) return false;
    if (id == IDC_CANCEL) {
        quitState = QUIT_EXIT;
        return true;
    }
    if (id == IDC_RESET) {
        quitState = QUIT_RESET;
        return true;
    }
    if (id == IDC_FILL_WITH_SAME) {
        fillWithSame(form, catalogue);
        return true;
    }
    if (ids::isBay(id)) {
        // The selector's own command word: identifier low, notification code high.
        updateEnclosure(form, catalogue, static_cast<std::uint32_t>(id) | (static_cast<std::uint32_t>(code) << 16), -1);
    } else if (id == IDC_ENCLOSURE_TYPE) {
        changeEnclosureType(form, catalogue);
    } else if (ids::isColumnOs(id)) {
        updateEnclosure(form, catalogue, bayWord(ids::upperBay(ids::columnOfOs(id)), true), form.getSelection(id));
    }
    return false;
}

}  // namespace

bool runCommand(EnclosureForm& form, const BladeCatalogue& catalogue, int id, int code, int& quitState) {
    return run(form, catalogue, id, code, quitState);
}

bool runCommand(FormModel& form, const BladeCatalogue& catalogue, int id, int code, int& quitState) {
    return run(form, catalogue, id, code, quitState);
}

namespace {

template <class Form>
std::optional<std::uint32_t> colourOf(Form& form, const BladeCatalogue& catalogue, int id) {
    if (id == IDC_MESSAGE) return kMessageRed;
    if (ids::isUpperCaption(id)) return kUpperRowBlue;
    if (ids::isLowerCaption(id)) return kLowerRowGreen;
    if (ids::isLabel(id)) return labelColour(form, catalogue, id);
    return std::nullopt;
}

}  // namespace

std::optional<std::uint32_t> staticColour(EnclosureForm& form, const BladeCatalogue& catalogue, int id) {
    return colourOf(form, catalogue, id);
}

std::optional<std::uint32_t> staticColour(FormModel& form, const BladeCatalogue& catalogue, int id) {
    return colourOf(form, catalogue, id);
}
