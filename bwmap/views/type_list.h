// bwmap --list-types: the catalogue's blade types in the selectors' order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalogue.h"

struct TypeRow {
    std::string name;                          // UTF-8
    std::vector<std::pair<char, char>> ports;  // switch letter, digit ('\0' when missing)
    std::vector<int> bays;                     // the bays that offer the type
    std::vector<std::string> flags;            // in words
};

// One row per type: built-in and file rows, as the selectors list them; ports as in bay 1.
std::vector<TypeRow> typeRows(const BladeCatalogue& catalogue);
