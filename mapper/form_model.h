// An in-memory enclosure form: every control of the form's control table, with no window.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "catalogue.h"
#include "form.h"
#include "short_text.h"

enum class ControlKind { BUTTON, STATIC, SELECTOR };
constexpr unsigned controlKindBit(ControlKind kind) { return 1u << static_cast<unsigned>(kind); }

// One control as the form holds it.
struct Control {
    int id = 0;
    ControlKind kind = ControlKind::STATIC;
    std::string text;                  // statics and buttons
    bool visible = true;
    bool enabled = true;
    std::vector<std::string> entries;  // selectors
    int selection = -1;                // selectors; -1 for none
};

// An operation that addressed an identifier outside the control table, or a control of a kind
// that does not take it (e.g. addEntry on a static text).
struct Misuse {
    std::string operation;
    int id;
};

enum FormOperation {
    OP_GET_SELECTION,
    OP_GET_ENTRY_TEXT,
    OP_SET_SELECTION,
    OP_ADD_ENTRY,
    OP_SET_ENABLED,
    OP_SET_VISIBLE,
    OP_SET_TEXT,
    OP_COUNT
};

// The form as plain data. It keeps the binding rules: no operation raises a command, and hidden
// or disabled selectors keep and take selections like any other. It records misuses and counts
// operations; the inspection functions below are not counted. Final, with its operations in this
// header: the pass instantiated for it calls them directly.
class FormModel final : public EnclosureForm {
public:
    FormModel();  // the controls in their state at creation, before the population

    // Takes the present state (controls, enclosure type, misuses, counts, and the column records
    // while they are kept) as the one that reset() returns to. A new form keeps its state at
    // creation.
    void keep();
    // Returns to the kept state, as a copy taken at keep() would be, reusing the controls' storage.
    // The column records return with it: what they said of that state still holds.
    void reset();

    int getSelection(int id) override {
        ++counts_[OP_GET_SELECTION];
        const Control* control = find(id, "getSelection", kSelector);
        return control ? control->selection : -1;
    }
    std::optional<std::string> getEntryText(int id, int index) override {
        const std::string* entry = entryText(id, index);
        if (!entry) return std::nullopt;
        return *entry;
    }
    // getEntryText without the copy, counted as one: the entry itself, valid while the form
    // stands; nullptr where getEntryText gives nothing.
    const std::string* entryText(int id, int index) {
        ++counts_[OP_GET_ENTRY_TEXT];
        const Control* control = find(id, "getEntryText", kSelector);
        if (!control || index < 0 || static_cast<std::size_t>(index) >= control->entries.size()) return nullptr;
        return &control->entries[static_cast<std::size_t>(index)];
    }
    // Like a drop-down list, an index that names no entry leaves the selector without a selection.
    void setSelection(int id, int index) override {
        ++counts_[OP_SET_SELECTION];
        Control* control = find(id, "setSelection", kSelector);
        if (!control) return;
        const bool valid = index >= 0 && static_cast<std::size_t>(index) < control->entries.size();
        const int selection = valid ? index : -1;
        if (recordsKept_ && control->selection != selection) changed(id);
        control->selection = selection;
    }
    void addEntry(int id, const std::string& text) override;
    void setEnabled(int id, bool on) override {
        ++counts_[OP_SET_ENABLED];
        if (Control* control = find(id, "setEnabled", kAnyKind)) {
            if (recordsKept_ && control->enabled != on) changed(id);
            control->enabled = on;
        }
    }
    void setVisible(int id, bool on) override {
        ++counts_[OP_SET_VISIBLE];
        if (Control* control = find(id, "setVisible", kAnyKind)) {
            if (recordsKept_ && control->visible != on) changed(id);
            control->visible = on;
        }
    }
    // Labels are mostly rewritten with the text they hold.
    void setText(int id, std::string_view text) override {
        ++counts_[OP_SET_TEXT];
        if (Control* control = find(id, "setText", kTextControl); control && !sameShortText(control->text, text)) {
            if (control->text.size() == text.size()) {  // written over in place, without a string call
                char* const to = &control->text[0];
                for (std::size_t i = 0; i < text.size(); ++i) to[i] = text[i];
            } else {
                control->text.assign(text);
            }
            textSet_[static_cast<std::size_t>(control - controls_.data())] = 1;
            if (recordsKept_) changed(id);
        }
    }

    // The catalogue row that entry `index` of selector `id`, whose text is `text`, names: what
    // findByName(catalogue, text, firstRow) gives (firstRow 0 or 1), remembered for each entry
    // of the catalogue with that serial.
    std::size_t entryRow(const BladeCatalogue& catalogue, int id, int index, const std::string& text,
                         std::size_t firstRow) {
        if (catalogue.serial() != entryRowsSerial_ || firstRow > 1 || !hasControl(id) || index < 0)
            return rememberRows(catalogue, id, index, text, firstRow);
        const std::vector<std::uint32_t>& rows = entryRows_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(id)].index)];
        const std::size_t slot = 2 * static_cast<std::size_t>(index) + firstRow;
        if (slot < rows.size() && rows[slot] != 0) return rows[slot] - 1;
        return rememberRows(catalogue, id, index, text, firstRow);
    }

    // Whether the form keeps column records for the recompute pass (off at creation): the pass
    // then skips a column that nothing changed since it left it settled.
    void keepColumnRecords(bool on);
    ColumnRecord* columnRecords() override { return recordsKept_ ? records_.data() : nullptr; }
    // One column's record; nullptr when records are not kept.
    ColumnRecord* columnRecord(int column);

    bool hasControl(int id) const {
        return static_cast<unsigned>(id) <= static_cast<unsigned>(kHighestId) && slots_[static_cast<std::size_t>(id)].kinds != 0;
    }
    // The control with this identifier; throws std::out_of_range when there is none.
    const Control& control(int id) const {
        if (!hasControl(id)) noControl(id);
        return controls_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(id)].index)];
    }
    const std::vector<Control>& controls() const { return controls_; }
    // Text of the selected entry; empty when nothing is selected.
    std::string selectedText(int id) const;

    const std::vector<Misuse>& misuses() const { return misuses_; }
    std::size_t operationCount(FormOperation op) const { return counts_[op]; }
    std::size_t operationCount() const;
    void resetCounts() { counts_.fill(0); }

private:
    static constexpr unsigned kSelector = controlKindBit(ControlKind::SELECTOR);
    static constexpr unsigned kTextControl = controlKindBit(ControlKind::BUTTON) | controlKindBit(ControlKind::STATIC);
    static constexpr unsigned kAnyKind = kTextControl | kSelector;

    // The control that takes the operation (its kind's bit set in `kinds`); else records a misuse.
    // Inline: every operation starts here, and the slots spare reading the control.
    Control* find(int id, const char* operation, unsigned kinds) {
        if (static_cast<unsigned>(id) <= static_cast<unsigned>(kHighestId)) {
            const Slot slot = slots_[static_cast<std::size_t>(id)];
            if (slot.kinds & kinds) return &controls_[static_cast<std::size_t>(slot.index)];
        }
        misuse(id, operation);
        return nullptr;
    }
    void misuse(int id, const char* operation);
    std::size_t rememberRows(const BladeCatalogue& catalogue, int id, int index, const std::string& text,
                             std::size_t firstRow);
    [[noreturn]] static void noControl(int id);
    // Counts a change of control `id` (one the form has) for its column's record.
    void changed(int id) {
        const int column = slots_[static_cast<std::size_t>(id)].column;
        if (column >= 0) ++records_[static_cast<std::size_t>(column)].changes;
    }
    void add(Control control);

    static constexpr int kHighestId = 1120;
    std::vector<Control> controls_;
    std::vector<unsigned char> textSet_;  // per control: its text was set since keep() or reset()
    // Per identifier, where the form keeps the control: one load tells an operation all it needs.
    struct Slot {
        short index = -1;          // in controls_
        unsigned char kinds = 0;   // the control's kind bit; 0 for no control
        signed char column = -1;   // -1 for controls of no column
    };
    std::array<Slot, kHighestId + 1> slots_{};
    std::vector<Misuse> misuses_;
    std::array<std::size_t, OP_COUNT> counts_{};
    std::array<ColumnRecord, ids::kColumns> records_{};
    bool recordsKept_ = false;

    // Per control, the rows its entries name: two an entry (from row 0, from row 1), row + 1,
    // 0 while not yet found.
    std::vector<std::vector<std::uint32_t>> entryRows_;
    std::uint64_t entryRowsSerial_ = 0;

    std::vector<Control> kept_;  // the state that reset() returns to
    // Its flags and selections, read by every reset.
    struct KeptState {
        int selection;
        bool visible;
        bool enabled;
    };
    std::vector<KeptState> keptStates_;
    bool entriesAdded_ = false;  // addEntry ran since keep() or reset()
    int keptEnclosureType_ = ENCLOSURE_ENHANCED;
    std::size_t keptMisuses_ = 0;
    std::array<std::size_t, OP_COUNT> keptCounts_{};
    std::array<ColumnRecord, ids::kColumns> keptRecords_{};
};

// An entry's text as the pass reads it: getEntryText's copy from any form, the entry itself from
// the in-memory one. Either is tested and dereferenced alike.
inline std::optional<std::string> readEntry(EnclosureForm& form, int id, int index) {
    return form.getEntryText(id, index);
}
inline const std::string* readEntry(FormModel& form, int id, int index) { return form.entryText(id, index); }

// The row an entry's text names, as findByName(catalogue, text, firstRow) finds it: the in-memory
// form remembers it for each entry, any other form searches the catalogue.
inline std::size_t entryRow(EnclosureForm&, const BladeCatalogue& catalogue, int, int, const std::string& text,
                            std::size_t firstRow) {
    return findByName(catalogue, text.c_str(), firstRow);
}
inline std::size_t entryRow(FormModel& form, const BladeCatalogue& catalogue, int id, int index,
                            const std::string& text, std::size_t firstRow) {
    return form.entryRow(catalogue, id, index, text, firstRow);
}
