// The window's picture of one enclosure, read off the form for formats that draw it.
#pragma once

#include <cstdint>
#include <string>

#include "control_ids.h"

struct EnclosureView {
    static constexpr int kBays = 2 * ids::kColumns;

    struct Bay {
        std::string caption;          // "Bay 1" ... as the caption shows it
        std::uint32_t captionColour = 0;  // 0x00BBGGRR
        bool shown = true;            // false for the lower row of a Standard enclosure
        std::string type;             // the selected entry's text; empty when none
        int coveredBy = 0;            // an empty bay drawn as part of the blade in this bay (1-8); 0 none
    };
    struct Label {
        bool shown = false;
        std::string text;
        std::uint32_t colour = 0;     // 0x00BBGGRR
    };

    bool enhanced = true;
    Bay bays[kBays];                     // bay n at index n - 1
    std::string columnOs[ids::kColumns];  // the column OS selector's text when it is enabled, else empty
    Label labels[ids::kLabelRows][ids::kColumns];
};
