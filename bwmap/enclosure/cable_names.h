// The names of a cable's two ends, device and interface, as the NetBox files and the topology
// graph give them: host names where the plan has them, else the name templates.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "enclosure/mapped_enclosure.h"
#include "enclosure/name_template.h"

struct CableNaming {
    std::string enclosureName = "enclosure";  // a single enclosure's {enclosure}
    NameTemplate blade;       // {enclosure}, {bay}: a blade without a host name
    NameTemplate switchHost;  // {enclosure}, {switch}: a switch without a host name
    NameTemplate nic;         // {nic}, {n}: a blade's interface
    NameTemplate port;        // {port}: a switch's interface
};

// Parses the four templates (an empty string in `error` when all are good).
std::string parseCableNaming(CableNaming& naming, const std::string& blade, const std::string& switchHost,
                             const std::string& nic, const std::string& port);

// The device name of switch `letter`: its host name in `names` (may be nullptr), else the
// template's name for it in the enclosure `enclosure` (UTF-8).
std::string switchDeviceName(const NameTemplate& switchHost, const EnclosureNames* names, char letter,
                             const std::string& enclosure);

// One label as a cable, its names in UTF-8 (a template's own text as given).
struct NamedCable {
    int bay = 0;
    std::string blade, nic;        // the blade's device and interface ("MGT" for the management port)
    std::string switchHost, port;  // the switch's device and interface
    std::string label;             // "A-3, NIC A"
    bool mgmt = false;
    char letter = 0;  // the switch letter as the switch's first label writes it
    int number = 0;   // the switch port's number
};

// Names the cables of one enclosure after another. Device names stay taken from one enclosure
// to the next, so that the enclosures of a run never share a device by accident.
class CableNamer {
public:
    // `onePerPort` ends the message for two labels on one switch port: why the format refuses it.
    CableNamer(CableNaming naming, std::string onePerPort)
        : naming_(std::move(naming)), onePerPort_(std::move(onePerPort)) {}
    // The enclosure's cables in the port map's order, or why they cannot be named one to one: a
    // label without a switch port number or a NIC, one device name for two devices (also one of
    // an earlier enclosure), two interfaces of a blade with one name, two labels on one switch
    // port. Empty when named; `cables` holds the cables only then. Enclosures of two sites may
    // share a device name: it names a device at each.
    std::string name(const MappedEnclosure& e, std::vector<NamedCable>& cables, const std::string& site = {});

private:
    CableNaming naming_;
    std::string onePerPort_;
    // (site, device name) -> its enclosure (count, name)
    std::map<std::pair<std::string, std::string>, std::pair<int, std::string>> owners_;
    int index_ = 1;
};

// The cables ordered by switch (the switch key as unsigned bytes), then port number; cables on
// one port in their order.
std::vector<const NamedCable*> cablesBySwitch(const std::vector<NamedCable>& cables);
