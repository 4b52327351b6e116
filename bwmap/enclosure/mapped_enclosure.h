// One mapped enclosure as views and writers see it, and the interface that receives them in turn.
#pragma once

#include <string>
#include <vector>

#include "enclosure/enclosure_view.h"
#include "enclosure/names.h"
#include "port_map.h"

class EnclosureSession;

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

// Receives the enclosures of a run in turn: a format writer, or a view that passes them on.
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
