// NetBox bulk-import files: the cables from blade NICs to switch ports, and their interfaces.
#pragma once

#include <memory>
#include <string>

#include "enclosure/cable_names.h"
#include "writers/map_writer.h"

// The devices' and interfaces' names, and the choice keys.
struct NetboxOptions : CableNaming {
    std::string cableStatus = "planned";  // a cable status key
    std::string interfaceType = "other";  // an interface type key
};

// `cables`: the cables file, else the interfaces file. An enclosure that NetBox could not take
// whole (two labels on one port, a port without a number, a device or interface name twice, a
// device name of another enclosure) is refused with the reason.
std::unique_ptr<MapWriter> makeNetboxWriter(bool cables, const NetboxOptions& options);
