// NetBox bulk-import files: the cables from blade NICs to switch ports, and their interfaces.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "enclosure/cable_names.h"
#include "writers/map_writer.h"

// The devices' and interfaces' names, the choice keys, the site and the cables' labels.
struct NetboxOptions : CableNaming {
    std::string cableStatus = "planned";  // a cable status key
    std::string interfaceType = "other";  // an interface type key
    std::string mgmtInterfaceType = "1000base-t";  // the management port's interface type key
    std::string site;  // both cable ends' site; a plans row's "site" cell before it; empty: none
    NameTemplate label;  // {enclosure}, {label}, {host}, {switch}: a cable's label
};

// Parses --cable-label into `options.label` (an empty string in `error` when it is good).
std::string parseCableLabel(NetboxOptions& options, const std::string& label);
// The plans column that names an enclosure's NetBox site: the index in `columns`, or -1.
int siteColumn(const std::vector<std::string>& columns);

// `cables`: the cables file, else the interfaces file. An enclosure that NetBox could not take
// whole (two labels on one port, a port without a number, a device or interface name twice, a
// device name of another enclosure at the same site) is refused with the reason. `extra` names
// the plans file's further columns (a "site" column among them gives the site).
std::unique_ptr<MapWriter> makeNetboxWriter(bool cables, const NetboxOptions& options,
                                            const std::vector<std::string>& extra = {});
