// The change ticket as a work sheet: one page per changed enclosure, drawn as the map's sheet.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "enclosure/mapped_enclosure.h"
#include "views/plan_diff.h"
#include "writers/sheet_footer.h"

class DiffSheet {
public:
    // `facts` names the run; its plans file is unused: each page names both files' lines.
    DiffSheet(const SheetFacts& facts, std::string oldFile, std::string newFile)
        : facts_(facts), oldFile_(std::move(oldFile)), newFile_(std::move(newFile)) {}

    // Keeps the page of a changed pair: the new drawing (the old one for a removed enclosure)
    // with the bays of `bays` marked, and the port rows. `before` and `after` as the pairs give them.
    void add(std::size_t pair, const MappedEnclosure* before, const MappedEnclosure* after,
             const std::vector<PortChange>& rows, const BayChange* bays, std::size_t bayCount);
    // The whole sheet: each page with the blade facts that touch its enclosure.
    void write(std::string& out, const std::vector<BladeFact>& facts,
               const std::function<const std::string&(std::size_t pair)>& enclosure) const;

private:
    struct Page {
        std::size_t pair;
        std::string top, bottom;  // the facts stand between
    };
    SheetFacts facts_;
    std::string oldFile_, newFile_;
    std::vector<Page> pages_;
};
