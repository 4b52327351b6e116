// bwmap --list-types in its formats.
#pragma once

#include <string>

#include "catalogue.h"

// Appends one row per type of typeRows: its name, its ports as switch letter and digit, the
// bays that offer it and its flags. As an aligned table, or with `json` one JSON object per line.
void appendTypeList(std::string& out, const BladeCatalogue& catalogue, bool json);
