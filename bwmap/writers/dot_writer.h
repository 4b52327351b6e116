// The plan as a topology file: a Graphviz DOT graph, one undirected edge per label from the
// blade's interface to the switch's port.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "enclosure/cable_names.h"
#include "writers/map_writer.h"

// One graph for all the enclosures it receives; devices and interfaces are named, and
// enclosures refused, as in the NetBox files. Each enclosure's edges come in the port map's
// order, or by switch and port with `bySwitch`, followed by its devices, each a table of its
// ports so that every edge's ends are ports that Graphviz knows.
std::unique_ptr<MapWriter> makeDotWriter(const CableNaming& naming, bool bySwitch);

// A name as the graph writes it: UTF-8 (8-bit text converted), tabs and line ends as blanks,
// other control characters as U+FFFD.
std::string dotName(const std::string& name);
// `name` (as dotName gives it) as a DOT quoted string: quotes and backslashes escaped.
void appendDotString(std::string& out, std::string_view name);
