// bwmap --list-types: the catalogue's blade types in the selectors' order.
#pragma once

#include <string>

#include "catalogue.h"

// Appends one row per type (built-in and file rows, as the selectors list them): its name, its
// ports as switch letter and digit in bay 1, the bays that offer it and its flags in words. As
// an aligned table, or with `json` one JSON object per line.
void appendTypeList(std::string& out, const BladeCatalogue& catalogue, bool json);
