// Two plans compared: the switch ports whose use changes, and what happens to the blades.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "enclosure/mapped_enclosure.h"

// One side's use of a port: bay 0 when the side does not use it.
struct PortUse {
    int bay = 0;
    std::string_view type, host, os, nic, switchPort;
};

// One row of the change ticket.
struct PortChange {
    enum Kind { SAME, ADDED, REMOVED, CHANGED } kind = SAME;
    std::string what;              // CHANGED: the fields that differ, "host", "type, NIC"
    std::string_view switchName;   // the switch's host name, else its letter
    std::string port;              // the port as the switch view writes it
    PortUse before, after;
};
const char* changeWord(PortChange::Kind kind);

// Appends the rows of one enclosure in two plans (`before` nullptr: added; `after` nullptr:
// removed). By switch: one row per switch port whose use changes, ordered by switch and port,
// two labels on one port paired in turn. By bay: one row per blade NIC whose switch port
// changes, in `after`'s order, then the NICs found only before. `all` keeps the rows that are
// the same. The rows view the enclosures' texts.
void comparePorts(const MappedEnclosure* before, const MappedEnclosure* after, bool bySwitch, bool all,
                  std::vector<PortChange>& rows);

// A bay whose blade (type or host) differs between the plans.
struct BladeAt {
    std::string type, host;  // type empty: no blade
};
struct BayChange {
    std::size_t pair;  // the enclosure pair's number in the run
    int bay;
    BladeAt before, after;
};
// Appends each bay of the pair whose blade differs.
void changedBays(const MappedEnclosure* before, const MappedEnclosure* after, std::size_t pair,
                 std::vector<BayChange>& bays);

// What happened to a blade. A host name found at another bay or in another enclosure moved; a bay
// whose type changes was replaced; a bay whose host name alone changes was renamed; the rest were
// added or removed.
struct BladeFact {
    enum Kind { MOVED, REPLACED, RENAMED, ADDED, REMOVED } kind;
    std::size_t fromPair = 0, toPair = 0;  // the enclosures, as BayChange::pair
    int fromBay = 0, toBay = 0;            // 0 for the side that has no blade
    BladeAt before, after;
};
const char* factWord(BladeFact::Kind kind);

// Where a host name stood in the plan before: its pair and bay; pair `kNone` when nowhere.
struct HostPlace {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t pair = kNone;
    int bay = 0;
};

// The facts of the changed bays, which come in the order of their pairs and bays; `before`
// tells where the old plan had a host name.
std::vector<BladeFact> bladeFacts(const std::vector<BayChange>& bays,
                                  const std::function<HostPlace(const std::string& host)>& before);
