// bwmap --check: what the window will make of each catalogue file line that is probably not meant.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct CatalogueFinding {
    std::size_t line;  // line of the file, from 1
    bool error;        // the line ends the catalogue and hides later lines
    std::string message;
};

struct CatalogueReport {
    std::size_t lines = 0;  // lines of the file (an over-long line counts once)
    std::size_t types = 0;  // rows the window lists from the file
    std::vector<CatalogueFinding> findings;
};

// Reads the file's bytes with the window's own reader and explains its lines; false when the
// catalogue could not be built.
bool checkCatalogue(const std::string& bytes, CatalogueReport& report);

// One `NAME:LINE: warning|error: MESSAGE` line per finding, then the summary line.
void appendCatalogueReport(std::string& out, const std::string& name, const CatalogueReport& report);

