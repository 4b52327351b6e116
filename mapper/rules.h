// The placement rules: applying one bay's selection and the checks inside the recompute.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue.h"
#include "form.h"
#include "labels.h"

// Bay and recompute switch as one word: bay selector identifier in the low 16 bits (0 for no
// bay), the recompute switch in bit 16 -- the word in which a selector reports a change.
constexpr std::uint32_t kRecomputeBit = 0x10000;
constexpr std::uint32_t kNoBay = 0;
constexpr std::uint32_t bayWord(int bayId, bool recompute) {
    return static_cast<std::uint32_t>(bayId) | (recompute ? kRecomputeBit : 0u);
}

// The SPAN count of a type: the columns it occupies from its own, 0 and 1 meaning its own only.
int spanColumns(const BladeType& type);
// Whether a type leaves room for a blade in the lower bay under it.
bool isHalfHeight(const BladeType& type);

// Each routine has an overload for the in-memory form: the same rules, its operations called
// directly.

// Applies the bay's selection (when the word names a bay selector) and, when asked or when no
// bay is named, recomputes the enclosure with the placement checks. A negative osIndex means
// the default OS selector's selection.
void updateEnclosure(EnclosureForm& form, const BladeCatalogue& catalogue, std::uint32_t bayAndSwitch,
                     int osIndex);
void updateEnclosure(FormModel& form, const BladeCatalogue& catalogue, std::uint32_t bayAndSwitch, int osIndex);

// Applies one bay selector's selection; false when it did not run to the end (no selection, an
// unreadable entry, or an enhanced-only refusal).
bool applyBaySelection(EnclosureForm& form, const BladeCatalogue& catalogue, int bayId, int osIndex);
bool applyBaySelection(FormModel& form, const BladeCatalogue& catalogue, int bayId, int osIndex);

// The four placement checks at the check points of the pass.
struct PlacementChecks : RecomputeChecks {
    void fullHeight(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) override;
    bool sharedColumn(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) override;
    bool enhancedOnly(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) override;
    bool groupOfFour(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) override;
};

// The recompute pass with the placement checks.
void recomputeWithRules(EnclosureForm& form, const BladeCatalogue& catalogue);
void recomputeWithRules(FormModel& form, const BladeCatalogue& catalogue);

// Settles, in the in-memory form's column records, every column that the pass with the
// placement checks would leave as it stands: the pass runs on a copy, and each column whose
// controls it did not change takes the record the copy's pass left. The form does not change.
// Nothing is settled while the form keeps no records.
void settleUnchangedColumns(FormModel& form, const BladeCatalogue& catalogue);

// The refusal sentences.
std::string enhancedOnlyMessage(const std::string& type);
std::string sharedColumnMessage(const std::string& a, const std::string& b);
std::string groupOfFourMessage(const std::string& removed, const std::string& columnType);
