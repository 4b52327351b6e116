// The enclosure form as the mapper's logic sees it: the form operations and two routines, templates
// so that a form of a final class has its operations called directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "control_ids.h"

enum EnclosureKind { ENCLOSURE_STANDARD = 0, ENCLOSURE_ENHANCED = 1 };
enum OsIndex { OS_NONE = -1, OS_WINDOWS = 0, OS_LINUX = 1 };

// What a form may keep of one column for the recompute pass: a count of the changes of the
// column's bays, OS selector and labels, and where the pass last left the column settled.
struct ColumnRecord {
    std::uint64_t changes = 0;     // raised by the form on every change of the column's controls
    bool settled = false;          // the pass labelled the column and nothing outside it was read
    std::uint64_t settledAt = 0;   // `changes` when the pass left it
    std::uint64_t catalogue = 0;    // the serial of the catalogue the pass used
    int enclosureType = -1;
};

// The only seam between the logic and a window. Implemented by the Win32 dialog binding and by
// the in-memory model that the unit tests run against. Every binding keeps these rules:
// changes made through the operations never raise commands, and the operations work the same
// on hidden and disabled controls.
class EnclosureForm {
public:
    virtual ~EnclosureForm() = default;

    // Selected entry index of a selector, or -1 when nothing is selected.
    virtual int getSelection(int id) = 0;
    // Text of entry `index` of a selector; nothing when the index names no entry (-1 included).
    virtual std::optional<std::string> getEntryText(int id, int index) = 0;
    // Selects entry `index`; -1 leaves the selector without a selection.
    virtual void setSelection(int id, int index) = 0;
    // Appends an entry; entries are never sorted.
    virtual void addEntry(int id, const std::string& text) = 0;
    virtual void setEnabled(int id, bool on) = 0;
    virtual void setVisible(int id, bool on) = 0;
    // Sets a static control's text; the control keeps its own copy.
    virtual void setText(int id, std::string_view text) = 0;

    // The records of the eight columns, or nullptr when the form keeps none: the pass then works
    // every column.
    virtual ColumnRecord* columnRecords() { return nullptr; }

    // 0 Standard, 1 Enhanced; Enhanced at creation, changed only by the enclosure type command.
    int enclosureType = ENCLOSURE_ENHANCED;
};

// Sets the message line's text and shows it; an empty text leaves a blank, visible line.
template <class Form>
void showMessage(Form& form, std::string_view text) {
    form.setText(IDC_MESSAGE, text);
    form.setVisible(IDC_MESSAGE, true);
}

// Hides the six labels firstLabel, firstLabel + 8, ..., firstLabel + 40; texts stay.
template <class Form>
void hideColumnLabels(Form& form, int firstLabel) {
    for (int row = 0; row < ids::kLabelRows; ++row) form.setVisible(firstLabel + ids::kColumns * row, false);
}
