// The output formats of bwmap: each writes enclosures' port maps into a text buffer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue.h"
#include "enclosure/enclosure_view.h"
#include "enclosure/names.h"
#include "port_map.h"

class EnclosureSession;

enum class MapFormat { TABLE, TSV, CSV, JSON, HTML, NETBOX_CABLES, NETBOX_INTERFACES };

// Columns of a plans file that the formats do not know: their names from the header and one
// row's cells, in the file's order.
struct ExtraColumns {
    std::vector<std::string> names;
    std::vector<std::string> values;
    bool empty() const { return names.empty(); }
};

// One mapped enclosure as the writers see it.
struct MappedEnclosure {
    const std::string* name = nullptr;  // the plans row's name; nullptr for a single enclosure
    std::string enclosure;              // "Standard" or "Enhanced"
    std::string defaultOs;              // "Windows" or "Linux"
    PortMapRows rows;
    const EnclosureView* view = nullptr;  // for writers that draw the enclosure; else nullptr
    const EnclosureNames* names = nullptr;  // host names; nullptr when none are in use
    const ExtraColumns* extra = nullptr;    // a plans row's further columns; nullptr when none
    long line = 0;                          // the plans row's line in its file; 0 for a single enclosure
};

class MapWriter {
public:
    virtual ~MapWriter() = default;
    // Before the first enclosure (headers).
    virtual void begin(std::string& out) { (void)out; }
    virtual void write(std::string& out, const MappedEnclosure& enclosure) = 0;
    // After the last enclosure, also when none was written.
    virtual void end(std::string& out) { (void)out; }
    // Why the enclosure cannot be written; empty when it can. Called just before write().
    virtual std::string refuse(const MappedEnclosure& enclosure) {
        (void)enclosure;
        return {};
    }
    // Whether write() reads MappedEnclosure::view.
    virtual bool drawsEnclosure() const { return false; }
};

// Writes the enclosure the session now holds; `name` is the plans row's name or nullptr, `names`
// its host names or nullptr, `line` the plans row's line. Returns the writer's reason for
// refusing it, else empty.
std::string writeEnclosure(MapWriter& writer, EnclosureSession& session, const std::string* name, std::string& out,
                           const EnclosureNames* names = nullptr, const ExtraColumns* extra = nullptr,
                           long line = 0);

// `plans` adds the enclosure's name: a first column, or a "name" member on JSON Lines. `names`
// adds the Host and Switch columns (JSON: "host" per bay, "switch" per port). `extra` names the
// plans file's further columns, written after the others on every row (JSON: "columns").
std::unique_ptr<MapWriter> makeMapWriter(MapFormat format, bool plans, const BladeCatalogue& catalogue,
                                         bool names = false, const std::vector<std::string>& extra = {});

// Appends a CSV field, quoted when it holds a comma, a quote or a line end (quotes doubled); a
// NUL byte shows as '?'.
void appendCsvField(std::string& out, std::string_view field);

// The column names of the rows: [Enclosure,] Bay, Type, [Host,] OS, [Switch,] Switch port, NIC.
std::vector<const char*> mapColumns(bool plans, bool names);
// One row's fields in the order of mapColumns; `bay` holds the bay's number as text. Returns
// the count.
std::size_t mapFields(const MappedEnclosure& e, const PortMapRow& row, std::string& bay, std::string_view fields[8]);
