// The sheet's switch tables: per switch, the ports the enclosure uses, as the switch view orders them.
#pragma once

#include <string>

#include "writers/map_writer.h"

// Appends an <aside> with one table per switch (port, bay, host when names are in use, NIC),
// and the bays that hold no blade as "empty". Reads the rows, the names and the view.
void appendSwitchTables(std::string& out, const MappedEnclosure& enclosure);
