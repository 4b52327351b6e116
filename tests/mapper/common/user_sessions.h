// User sessions on the model form: random actions a user could take, and the placement rules'
// promises checked after each. Shared by the property test and the session fuzz target.
#pragma once

#include <string>
#include <vector>

#include "catalogue.h"
#include "commands.h"
#include "form_model.h"
#include "population.h"

namespace sessions {

// The form as a user drives it: selections arrive as commands, as the selectors report them.
struct UserForm {
    explicit UserForm(const BladeCatalogue& rows) : catalogue(rows) { populateForm(form, catalogue); }

    const BladeCatalogue& catalogue;
    FormModel form;
    int quitState = QUIT_RUNNING;

    void chooseIndex(int id, int index) {
        form.setSelection(id, index);
        runCommand(form, catalogue, id, kSelectionChanged, quitState);
    }
    void chooseText(int id, const std::string& text) {
        const auto& entries = form.control(id).entries;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == text) return chooseIndex(id, static_cast<int>(i));
    }
    void reset() {
        form = FormModel();
        populateForm(form, catalogue);
    }
    bool usable(int id) const { return form.control(id).visible && form.control(id).enabled; }
};

inline const BladeType* typeIn(const UserForm& u, int bayId) {
    const std::string text = u.form.selectedText(bayId);
    if (text.empty()) return nullptr;
    return &u.catalogue.row(findByName(u.catalogue, text.c_str(), 1));
}

// What the rules promise after a command; returns the first broken promise, or "".
inline std::string brokenPromise(const UserForm& u) {
    const bool quietPass = u.form.control(IDC_MESSAGE).text.empty();
    if (!u.form.misuses().empty()) return "operation on control " + std::to_string(u.form.misuses()[0].id);
    const bool standard = u.form.enclosureType == ENCLOSURE_STANDARD;
    std::vector<const BladeType*> columnType(ids::kColumns, nullptr);
    for (int c = 0; c < ids::kColumns; ++c) {
        const std::string where = " in column " + std::to_string(c);
        const BladeType* upper = typeIn(u, ids::upperBay(c));
        const BladeType* lower = typeIn(u, ids::lowerBay(c));
        columnType[c] = lower ? lower : upper;
        if (upper && lower && !(upper->flags & HALF_HEIGHT)) return "full-height type above a blade" + where;
        // A pass that a refusal ended leaves bays re-enabled by the bay change as they were, so
        // the lower bay under a full-height blade is disabled only after a quiet pass.
        if (upper && !(upper->flags & HALF_HEIGHT) && quietPass && u.form.control(ids::lowerBay(c)).enabled)
            return "usable lower bay under a full-height type" + where;
        if (upper && lower && upper != lower &&
            (!(upper->flags & HALF_HEIGHT) || !(lower->flags & HALF_HEIGHT) ||
             (upper->flags & SHARE_CLASS) != (lower->flags & SHARE_CLASS)))
            return "forbidden pair" + where;
        for (const BladeType* type : {upper, lower})
            if (standard && type && (type->flags & ENHANCED_ONLY)) return "enhanced-only type in Standard" + where;
        for (int row = 0; row < ids::kLabelRows; ++row) {
            if (!u.form.control(ids::label(row, c)).visible) continue;
            const bool placed = row < ids::kFirstLowerLabelRow ? upper != nullptr : (upper || lower);
            if (!placed) return "label row " + std::to_string(row) + " shown without a blade" + where;
        }
    }
    for (int c = 0; c < ids::kColumns; ++c) {
        if (!columnType[c] || !(columnType[c]->flags & GROUP4_CLASS)) continue;
        for (int d = ids::groupStart(c); d < ids::groupStart(c) + ids::kGroupSize; ++d) {
            const BladeType* upper = typeIn(u, ids::upperBay(d));
            if (upper && !(upper->flags & GROUP4_CLASS))
                return "mixed group of four: columns " + std::to_string(c) + " and " + std::to_string(d);
        }
    }
    return "";
}

// The first control whose visibility, enabled state, selection, entries or text differ, or -1;
// a different enclosure type counts as the enclosure type selector.
inline int firstDifference(const FormModel& a, const FormModel& b) {
    for (const Control& x : a.controls()) {
        const Control& y = b.control(x.id);
        if (x.text != y.text || x.visible != y.visible || x.enabled != y.enabled || x.entries != y.entries ||
            x.selection != y.selection)
            return x.id;
    }
    return a.enclosureType == b.enclosureType ? -1 : IDC_ENCLOSURE_TYPE;
}

// One user action among those a user could take now, chosen by `choose.below(n)` (0..n-1).
template <typename Chooser>
std::string act(UserForm& u, Chooser& choose) {
    const int roll = choose.below(100);
    if (roll < 72) {
        std::vector<int> bays;
        for (int id = ids::upperBay(0); id < ids::lowerBay(ids::kColumns); ++id)
            if (u.usable(id)) bays.push_back(id);
        if (bays.empty()) return "none";
        const int bay = bays[static_cast<std::size_t>(choose.below(static_cast<int>(bays.size())))];
        const auto& entries = u.form.control(bay).entries;
        const int index = choose.below(static_cast<int>(entries.size()));
        const std::string text = entries[static_cast<std::size_t>(index)];
        u.chooseIndex(bay, index);
        return "bay " + std::to_string(bay) + " " + text;
    }
    if (roll < 80) {
        const char* type = choose.below(2) ? "Enhanced" : "Standard";
        u.chooseText(IDC_ENCLOSURE_TYPE, type);
        return type;
    }
    if (roll < 88) {
        std::vector<int> columns;
        for (int c = 0; c < ids::kColumns; ++c)
            if (u.usable(ids::columnOs(c))) columns.push_back(c);
        if (columns.empty()) return "none";
        const int c = columns[static_cast<std::size_t>(choose.below(static_cast<int>(columns.size())))];
        const char* os = choose.below(2) ? "Linux" : "Windows";
        u.chooseText(ids::columnOs(c), os);
        return "column OS " + std::to_string(c) + " " + os;
    }
    if (roll < 92) {
        const char* os = choose.below(2) ? "Linux" : "Windows";
        u.chooseText(IDC_DEFAULT_OS, os);
        return std::string("default OS ") + os;
    }
    if (roll < 98) {
        runCommand(u.form, u.catalogue, IDC_FILL_WITH_SAME, 0, u.quitState);
        return "Fill With Same";
    }
    u.reset();
    return "Reset";
}

}  // namespace sessions
