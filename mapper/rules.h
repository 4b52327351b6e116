// The placement rules: applying one bay's selection and the checks inside the recompute.
#pragma once

#include <cstdint>

#include "catalogue.h"
#include "form.h"

// Bay and recompute switch as one word: bay selector identifier in the low 16 bits (0 for no
// bay), the recompute switch in bit 16 -- the word in which a selector reports a change.
constexpr std::uint32_t kRecomputeBit = 0x10000;
constexpr std::uint32_t bayWord(int bayId, bool recompute) {
    return static_cast<std::uint32_t>(bayId) | (recompute ? kRecomputeBit : 0u);
}

// Applies the bay's selection (if any) and, when asked, recomputes the enclosure with the
// placement checks. A negative osIndex means the default OS selector's selection.
void updateEnclosure(EnclosureForm& form, const BladeCatalogue& catalogue, std::uint32_t bayAndSwitch,
                     int osIndex);

// Applies one bay selector's selection; false when it did not run to the end.
bool applyBaySelection(EnclosureForm& form, const BladeCatalogue& catalogue, int bayId, int osIndex);

// The recompute pass with the four placement checks at its check points.
void recomputeWithRules(EnclosureForm& form, const BladeCatalogue& catalogue);
