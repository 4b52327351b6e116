// The output formats of bwmap: each writes enclosures' port maps into a text buffer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue.h"
#include "port_map.h"

enum class MapFormat { TABLE, TSV, CSV, JSON };

// One mapped enclosure as the writers see it.
struct MappedEnclosure {
    const std::string* name = nullptr;  // the plans row's name; nullptr for a single enclosure
    std::string enclosure;              // "Standard" or "Enhanced"
    std::string defaultOs;              // "Windows" or "Linux"
    std::vector<PortMapRow> rows;
};

class MapWriter {
public:
    virtual ~MapWriter() = default;
    // Before the first enclosure (headers).
    virtual void begin(std::string& out) { (void)out; }
    virtual void write(std::string& out, const MappedEnclosure& enclosure) = 0;
};

// `plans` adds the enclosure's name: a first column, or a "name" member on JSON Lines.
std::unique_ptr<MapWriter> makeMapWriter(MapFormat format, bool plans, const BladeCatalogue& catalogue);
