// The verdicts of --verify as a table, TSV, CSV or JSON Lines, one enclosure at a time.
#pragma once

#include <cstdio>
#include <memory>

#include "views/cabling_check.h"
#include "writers/map_writer.h"

// Checks each enclosure it receives with `checker` and writes its rows: Enclosure, Bay, Host,
// NIC, Switch, Port, Interface, Verdict, Note. A capture that cannot be read is reported on
// `err`, and so, after the last enclosure, is a HOST=FILE whose host no blade has.
std::unique_ptr<MapWriter> makeCablingWriter(MapFormat format, CablingChecker& checker, CaptureSource& source,
                                             std::FILE* err);
