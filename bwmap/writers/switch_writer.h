// The switch view's formats: a port map's labels by switch and port.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "writers/map_writer.h"

// Rows ordered by switch, then port number (ports without a number last), with the columns
// [Enclosure,] Switch, Port, Bay, Type, [Host,] NIC and the plans file's `extra` columns. Formats
// table, tsv, csv and json.
std::unique_ptr<MapWriter> makeSwitchWriter(MapFormat format, bool plans, bool names, const BladeCatalogue& catalogue,
                                            const std::vector<std::string>& extra = {});
