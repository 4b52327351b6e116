// Checks of a live form against the state it must have right after creation.
#pragma once

#include <string>
#include <vector>

#include "mapper_driver.h"

// Entry lists that the bay selectors must show, column by column.
struct BayEntries {
    std::vector<std::vector<std::string>> upper;  // 8 lists
    std::vector<std::vector<std::string>> lower;  // 8 lists
};

// The lists with the built-in catalogue alone.
BayEntries builtInBayEntries();

// Every control as at creation: order, classes, texts of the statics, visibility, enabled
// states, entries and selections, focus and title.
void expectFreshForm(const MapperProcess& mapper, const BayEntries& bays);
