// The in-memory enclosure form: the control table at creation and the form operations on it.
#include "form_model.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>


namespace {

const char kExplanation[] =
    "Switch (or patch panel) port to blade NIC enumeration is displayed above.  For example, "
    "\"A-2, NIC B\" would signify that switch A, port 2 maps to the second NIC (\"NIC B\") "
    "enumerated by the OS.";


Control makeControl(int id, ControlKind kind, std::string text, bool visible, bool enabled) {
    Control control;
    control.id = id;
    control.kind = kind;
    control.text = std::move(text);
    control.visible = visible;
    control.enabled = enabled;
    return control;
}

Control selector(int id, bool enabled = true) {
    return makeControl(id, ControlKind::SELECTOR, "", true, enabled);
}

Control staticText(int id, std::string text, bool visible = true) {
    return makeControl(id, ControlKind::STATIC, std::move(text), visible, true);
}

Control button(int id, std::string text) {
    return makeControl(id, ControlKind::BUTTON, std::move(text), true, true);
}

}  // namespace

// In the order of the control table. The group box has no identifier, so nothing can address it
// and it is left out.
FormModel::FormModel() {
    for (int c = 0; c < ids::kColumns; ++c) {
        for (const int id : {ids::upperBay(c), ids::lowerBay(c), ids::columnOs(c)}) slots_[id].column = static_cast<signed char>(c);
        for (int row = 0; row < ids::kLabelRows; ++row) slots_[ids::label(row, c)].column = static_cast<signed char>(c);
    }
    add(button(IDC_CANCEL, "Cancel"));
    add(staticText(IDC_INTRO_TEXT,
                   "Select enclosure contents to display the switch port to blade NIC operating "
                   "system (OS) enumeration order."));
    for (int c = 0; c < ids::kColumns; ++c) add(selector(ids::upperBay(c)));
    for (int c = 0; c < ids::kColumns; ++c) add(selector(ids::columnOs(c), false));
    for (int row = 0; row < ids::kLabelRows; ++row)
        for (int c = 0; c < ids::kColumns; ++c) {
            const int id = ids::label(row, c);
            add(staticText(id, id == IDC_LABEL_FIRST ? "A-16,  NIC A" : "switch A, port 1", false));
        }
    for (int c = 0; c < ids::kColumns; ++c)
        add(staticText(ids::upperCaption(c), "Bay " + std::to_string(c + 1)));
    add(selector(IDC_ENCLOSURE_TYPE));
    add(staticText(IDC_ENCLOSURE_TYPE_CAPTION, "Enclosure type"));
    for (int c = 0; c < ids::kColumns; ++c) add(selector(ids::lowerBay(c)));
    for (int c = 0; c < ids::kColumns; ++c)
        add(staticText(ids::lowerCaption(c), "Bay " + std::to_string(c + 9)));
    add(staticText(IDC_MESSAGE, "Static", false));
    add(button(IDC_FILL_WITH_SAME, "Fill With Same"));
    add(button(IDC_RESET, "Reset"));
    add(staticText(IDC_EXPLANATION, kExplanation));
    add(selector(IDC_DEFAULT_OS));
    add(staticText(IDC_DEFAULT_OS_CAPTION, "Default OS"));
    add(staticText(IDC_ORDERING_NOTE,
                   " Alphabetic ordering is displayed since OS naming differs and may use 0- or "
                   "1-based enumeration schemes."));
    keep();
}

void FormModel::keep() {
    kept_ = controls_;
    keptStates_.clear();
    for (const Control& control : controls_) keptStates_.push_back({control.selection, control.visible, control.enabled});
    textSet_.assign(controls_.size(), 0);
    entriesAdded_ = false;
    keptEnclosureType_ = enclosureType;
    keptMisuses_ = misuses_.size();
    keptCounts_ = counts_;
    keptRecords_ = records_;
    if (!recordsKept_)  // not kept up to date: they may speak of an earlier state
        for (ColumnRecord& record : keptRecords_) record.settled = false;
}

// Only setText changes a text and only addEntry an entry list. Entry lists and misuses only ever
// grow, so an unchanged length means unchanged contents.
void FormModel::reset() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        Control& control = controls_[i];
        const KeptState kept = keptStates_[i];
        control.visible = kept.visible;
        control.enabled = kept.enabled;
        control.selection = kept.selection;
        if (textSet_[i]) {
            if (control.text != kept_[i].text) control.text = kept_[i].text;
            textSet_[i] = 0;
        }
    }
    for (std::size_t i = 0; entriesAdded_ && i < controls_.size(); ++i) {
        const std::vector<std::string>& kept = kept_[i].entries;
        if (controls_[i].entries.size() == kept.size()) continue;
        controls_[i].entries = kept;
        if (i < entryRows_.size() && entryRows_[i].size() > 2 * kept.size())
            entryRows_[i].resize(2 * kept.size());  // later entries may differ
    }
    entriesAdded_ = false;
    enclosureType = keptEnclosureType_;
    records_ = keptRecords_;
    misuses_.resize(keptMisuses_);
    counts_ = keptCounts_;
}

void FormModel::add(Control control) {
    Slot& slot = slots_.at(static_cast<std::size_t>(control.id));
    slot.index = static_cast<short>(controls_.size());
    slot.kinds = static_cast<unsigned char>(controlKindBit(control.kind));
    controls_.push_back(std::move(control));
    textSet_.push_back(0);
}

void FormModel::misuse(int id, const char* operation) { misuses_.push_back({operation, id}); }

// An entry's text never changes while it stands, so its row is found once; a row number past 32
// bits is not remembered.
std::size_t FormModel::rememberRows(const BladeCatalogue& catalogue, int id, int index, const std::string& text,
                                    std::size_t firstRow) {
    const std::size_t row = findByName(catalogue, text.c_str(), firstRow);
    if (firstRow > 1 || !hasControl(id) || index < 0) return row;
    const Control& control = controls_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(id)].index)];
    if (static_cast<std::size_t>(index) >= control.entries.size() || control.entries[static_cast<std::size_t>(index)] != text ||
        row >= UINT32_MAX)
        return row;
    if (catalogue.serial() != entryRowsSerial_) {
        entryRows_.clear();
        entryRowsSerial_ = catalogue.serial();
    }
    if (entryRows_.size() < controls_.size()) entryRows_.resize(controls_.size());
    std::vector<std::uint32_t>& rows = entryRows_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(id)].index)];
    if (rows.size() < 2 * control.entries.size()) rows.resize(2 * control.entries.size(), 0);
    rows[2 * static_cast<std::size_t>(index) + firstRow] = static_cast<std::uint32_t>(row + 1);
    return row;
}

void FormModel::addEntry(int id, const std::string& text) {
    ++counts_[OP_ADD_ENTRY];
    if (Control* control = find(id, "addEntry", kSelector)) {
        control->entries.push_back(text);
        entriesAdded_ = true;
        if (recordsKept_) changed(id);
    }
}

// Changes are counted only while records are kept, so a form that starts keeping them settles
// nothing it has seen before.
void FormModel::keepColumnRecords(bool on) {
    if (on && !recordsKept_)
        for (ColumnRecord& record : records_) {
            ++record.changes;
            record.settled = false;
        }
    recordsKept_ = on;
}

ColumnRecord* FormModel::columnRecord(int column) {
    if (!recordsKept_ || column < 0 || column >= ids::kColumns) return nullptr;
    return &records_[static_cast<std::size_t>(column)];
}

void FormModel::noControl(int id) { throw std::out_of_range("no control " + std::to_string(id)); }

std::string FormModel::selectedText(int id) const {
    const Control& selectorControl = control(id);
    if (selectorControl.selection < 0) return {};
    return selectorControl.entries[static_cast<std::size_t>(selectorControl.selection)];
}

std::size_t FormModel::operationCount() const {
    std::size_t total = 0;
    for (std::size_t count : counts_) total += count;
    return total;
}
