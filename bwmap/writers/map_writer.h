// The output formats of bwmap: each writes enclosures' port maps into a text buffer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue.h"
#include "enclosure/mapped_enclosure.h"
#include "port_map.h"

enum class MapFormat { TABLE, TSV, CSV, JSON, HTML, NETBOX_CABLES, NETBOX_INTERFACES, DOT, JUNIT };

// `plans` adds the enclosure's name: a first column, or a "name" member on JSON Lines. `names`
// adds the Host and Switch columns (JSON: "host" per bay, "switch" per port). `extra` names the
// plans file's further columns, written after the others on every row (JSON: "columns").
std::unique_ptr<MapWriter> makeMapWriter(MapFormat format, bool plans, const BladeCatalogue& catalogue,
                                         bool names = false, const std::vector<std::string>& extra = {});

// The column names of the rows: [Enclosure,] Bay, Type, [Host,] OS, [Switch,] Switch port, NIC.
std::vector<const char*> mapColumns(bool plans, bool names);
// One row's fields in the order of mapColumns; `bay` holds the bay's number as text. Returns
// the count.
std::size_t mapFields(const MappedEnclosure& e, const PortMapRow& row, std::string& bay, std::string_view fields[8]);
