// The placement rules: applyBaySelection, updateEnclosure and the checks R1-R4 of the pass.
#include "rules.h"

#include <algorithm>
#include <optional>

#include "form_model.h"
#include "short_text.h"

namespace {

bool halfHeight(const BladeType& type) { return (type.flags & HALF_HEIGHT) != 0; }
bool enhancedOnly(const BladeType& type) { return (type.flags & ENHANCED_ONLY) != 0; }

template <class Form>
void clearAndDisable(Form& form, int id) {
    form.setSelection(id, -1);
    form.setEnabled(id, false);
}

// Both bays of a column cleared (left enabled), its OS selector cleared and disabled.
template <class Form>
void clearColumn(Form& form, int column) {
    form.setSelection(ids::lowerBay(column), -1);
    form.setSelection(ids::upperBay(column), -1);
    clearAndDisable(form, ids::columnOs(column));
}

bool isStandard(const EnclosureForm& form) { return form.enclosureType == ENCLOSURE_STANDARD; }

}  // namespace

bool isHalfHeight(const BladeType& type) { return halfHeight(type); }

int spanColumns(const BladeType& type) { return static_cast<int>((type.flags & SPAN) >> kSpanShift); }

std::string enhancedOnlyMessage(const std::string& type) {
    return type + " blades must be in an enhanced (high density) enclosure.";
}

std::string sharedColumnMessage(const std::string& a, const std::string& b) {
    return a + " blade cannot share a slot with a " + b + " blade.";
}

std::string groupOfFourMessage(const std::string& removed, const std::string& columnType) {
    return removed + " blade cannot be in same 4 slot group with a " + columnType + " blade.";
}

namespace {

// A spanning type covers its column and those to its right. A catalogue row may ask for more
// columns than remain; the span then ends at the last column, so no control outside the
// enclosure is touched.
template <class Form>
bool applyBay(Form& form, const BladeCatalogue& catalogue, int bayId, int osIndex) {
    const int selection = form.getSelection(bayId);
    if (selection < 0) return false;
    const auto text = readEntry(form, bayId, selection);
    if (!text) return false;
    if (sameAsName(*text, catalogue.row(0).name)) form.setSelection(bayId, -1);

    const int c = ids::columnOfBay(bayId);
    hideColumnLabels(form, ids::label(0, c));
    for (int d = c; d < ids::groupStart(c) + ids::kGroupSize; ++d) {
        form.setEnabled(ids::upperBay(d), true);
        if (!isStandard(form)) form.setEnabled(ids::lowerBay(d), true);
    }

    const BladeType& type = catalogue.row(entryRow(form, catalogue, bayId, selection, *text, 0));
    if (enhancedOnly(type) && isStandard(form)) {
        showMessage(form, enhancedOnlyMessage(*text));
        form.setSelection(bayId, -1);
        return false;
    }

    const int columns = spanColumns(type);
    if (columns > 0) {
        clearAndDisable(form, ids::lowerBay(c));
        const int last = std::min(c + columns - 1, ids::kColumns - 1);
        for (int d = c + 1; d <= last; ++d) {
            clearAndDisable(form, ids::upperBay(d));
            clearAndDisable(form, ids::columnOs(d));
            hideColumnLabels(form, ids::label(0, d));
            clearAndDisable(form, ids::lowerBay(d));
        }
    }

    if (type.flags & OS_DEPENDENT_ORDER) {
        form.setSelection(ids::columnOs(c), osIndex);
        form.setEnabled(ids::columnOs(c), true);
    } else {
        clearAndDisable(form, ids::columnOs(c));
    }
    return true;
}

template <class Form>
void update(Form& form, const BladeCatalogue& catalogue, std::uint32_t bayAndSwitch, int osIndex) {
    if (osIndex < 0) osIndex = form.getSelection(IDC_DEFAULT_OS);
    const int bayId = static_cast<int>(bayAndSwitch & 0xFFFF);
    if (ids::isBay(bayId)) {
        if (!applyBay(form, catalogue, bayId, osIndex)) return;
        if (!(bayAndSwitch & kRecomputeBit)) return;
    }
    recomputeWithRules(form, catalogue);
}

}  // namespace

bool applyBaySelection(EnclosureForm& form, const BladeCatalogue& catalogue, int bayId, int osIndex) {
    return applyBay(form, catalogue, bayId, osIndex);
}

bool applyBaySelection(FormModel& form, const BladeCatalogue& catalogue, int bayId, int osIndex) {
    return applyBay(form, catalogue, bayId, osIndex);
}

void updateEnclosure(EnclosureForm& form, const BladeCatalogue& catalogue, std::uint32_t bayAndSwitch,
                     int osIndex) {
    update(form, catalogue, bayAndSwitch, osIndex);
}

void updateEnclosure(FormModel& form, const BladeCatalogue& catalogue, std::uint32_t bayAndSwitch, int osIndex) {
    update(form, catalogue, bayAndSwitch, osIndex);
}

void recomputeWithRules(EnclosureForm& form, const BladeCatalogue& catalogue) {
    PlacementChecks checks;
    recomputeEnclosure(form, catalogue, checks);
}

void recomputeWithRules(FormModel& form, const BladeCatalogue& catalogue) {
    PlacementChecks checks;
    recomputeEnclosure(form, catalogue, checks);
}

// A change of a column's controls raises its record's count, so an unchanged count means the
// copy's pass found the column as the form has it.
void settleUnchangedColumns(FormModel& form, const BladeCatalogue& catalogue) {
    if (form.columnRecords() == nullptr) return;
    FormModel probe = form;
    recomputeWithRules(probe, catalogue);
    for (int c = 0; c < ids::kColumns; ++c) {
        ColumnRecord& record = *form.columnRecord(c);
        const ColumnRecord& probed = *probe.columnRecord(c);
        if (probed.settled && probed.changes == record.changes) record = probed;
    }
}

// R1: a full-height blade above leaves no room below.
void PlacementChecks::fullHeight(EnclosureForm& form, const BladeCatalogue& catalogue, const ColumnCheck& column) {
    if (!halfHeight(catalogue.row(column.upperRow))) clearAndDisable(form, ids::lowerBay(column.column));
}

// R2: two different blades share a column only when both are half height and agree in
// SHARE_CLASS. The sentence names the SHARE_CLASS blade first.
bool PlacementChecks::sharedColumn(EnclosureForm& form, const BladeCatalogue& catalogue, const ColumnCheck& column) {
    const BladeType& upper = catalogue.row(column.upperRow);
    const BladeType& lower = catalogue.row(column.lowerRow);
    if (halfHeight(upper) && halfHeight(lower) &&
        (upper.flags & SHARE_CLASS) == (lower.flags & SHARE_CLASS))
        return true;
    const bool upperFirst = (upper.flags & SHARE_CLASS) != 0;
    showMessage(form, sharedColumnMessage(std::string(upperFirst ? column.upperText : column.lowerText),
                                          std::string(upperFirst ? column.lowerText : column.upperText)));
    clearColumn(form, column.column);
    return false;
}

// R3: an enhanced-only column type in a Standard enclosure.
bool PlacementChecks::enhancedOnly(EnclosureForm& form, const BladeCatalogue& catalogue, const ColumnCheck& column) {
    const BladeType& type = catalogue.row(column.columnRow);
    if (!::enhancedOnly(type) || !isStandard(form)) return true;
    showMessage(form, enhancedOnlyMessage(type.name));
    if (column.lowerFilled) {
        form.setSelection(ids::lowerBay(column.column), -1);
    } else {
        form.setSelection(ids::upperBay(column.column), -1);
        clearAndDisable(form, ids::columnOs(column.column));
    }
    return false;
}

// R4: a GROUP4_CLASS column type removes every upper-bay blade of its group that lacks the flag.
// When that removes the column's own blades (its upper bay lacks the flag, the lower bay's type
// has it), the column is left unlabelled: its labels would name blades no longer placed.
bool PlacementChecks::groupOfFour(EnclosureForm& form, const BladeCatalogue& catalogue, const ColumnCheck& column) {
    const BladeType& type = catalogue.row(column.columnRow);
    if (!(type.flags & GROUP4_CLASS)) return true;
    bool ownRemoved = false;
    const int first = ids::groupStart(column.column);
    for (int d = first; d < first + ids::kGroupSize; ++d) {
        const int selection = form.getSelection(ids::upperBay(d));
        if (selection < 0) continue;
        const std::optional<std::string> text = form.getEntryText(ids::upperBay(d), selection);
        if (!text) continue;
        if (catalogue.row(findByName(catalogue, text->c_str(), 1)).flags & GROUP4_CLASS) continue;
        showMessage(form, groupOfFourMessage(*text, type.name));
        clearColumn(form, d);
        hideColumnLabels(form, ids::label(0, d));
        if (d == column.column) ownRemoved = true;
    }
    return !ownRemoved;
}
