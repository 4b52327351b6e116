// NetBox bulk-import files: the cables from blade NICs to switch ports, and their interfaces.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "writers/map_writer.h"
#include "enclosure/name_template.h"

struct NetboxOptions {
    std::string cableStatus = "planned";  // a cable status key
    std::string interfaceType = "other";  // an interface type key
    std::string mgmtInterfaceType = "1000base-t";  // the management port's interface type key
    std::string site;  // both cable ends' site; a plans row's "site" cell before it; empty: none
    std::string enclosureName = "enclosure";  // a single enclosure's {enclosure}
    NameTemplate blade;       // {enclosure}, {bay}: a blade without a host name
    NameTemplate switchHost;  // {enclosure}, {switch}: a switch without a host name
    NameTemplate nic;         // {nic}, {n}: a blade's interface
    NameTemplate port;        // {port}: a switch's interface
    NameTemplate label;       // {enclosure}, {label}, {host}, {switch}: a cable's label
};

// Parses the five templates (an empty string in `error` when all are good).
std::string parseNetboxTemplates(NetboxOptions& options, const std::string& blade, const std::string& switchHost,
                                 const std::string& nic, const std::string& port, const std::string& label);
// The plans column that names an enclosure's NetBox site: the index in `columns`, or -1.
int siteColumn(const std::vector<std::string>& columns);

// `cables`: the cables file, else the interfaces file. An enclosure that NetBox could not take
// whole (two labels on one port, a port without a number, a device or interface name twice, a
// device name of another enclosure) is refused with the reason.
// `extra` names the plans file's further columns (a "site" column among them gives the site).
std::unique_ptr<MapWriter> makeNetboxWriter(bool cables, const NetboxOptions& options,
                                            const std::vector<std::string>& extra = {});
