// The enclosure form as the control table describes it: the oracle of the template tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ExpectedControl {
    int id;                // -1 for the group box
    std::string className; // "Button", "Static" or "ComboBox"
    std::string text;
    short x, y, cx, cy;
    DWORD style;           // WS_CHILD included
    DWORD exStyle;
};

// The 100 controls in tab order.
std::vector<ExpectedControl> expectedControls();

// Entries of the selectors with the built-in catalogue.
std::vector<std::string> upperBayEntries(int column);
std::vector<std::string> lowerBayEntries();
