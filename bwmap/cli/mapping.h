// What the modes share: the catalogue they load, the output's end, and the run that maps the
// picks' one enclosure or every row of a plans file through a mode's writer.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/output_sink.h"
#include "catalogue.h"
#include "cli/modes.h"
#include "enclosure/plans.h"
#include "views/switch_view.h"
#include "writers/map_writer.h"
#include "writers/netbox_writer.h"
#include "writers/sheet_footer.h"

// Flushes the sink. A reader that went away (a closed pipe) ends the run quietly; any other
// failed write is an error, never a success. Returns `status` when all was written.
int finishOutput(OutputSink& sink, int status, std::FILE* err);

// The catalogue of --catalogue, or the default file when there is one.
struct LoadedCatalogue {
    std::string path;         // the file named or the default name
    std::string bytes;        // the file's bytes as read
    bool read = false;        // whether a file was read
    OwnedCatalogue catalogue;
};
// A file named on the command line must be readable; the default one is optional. False with a
// message on `err`.
bool loadCatalogueOf(const Options& options, LoadedCatalogue& loaded, std::FILE* err);

// The choices every mapping mode makes of the options.
struct Mapping {
    MapFormat format = MapFormat::TABLE;
    bool netbox = false;    // either NetBox format
    bool finding = false;   // --find
    PortQuery query;
    bool bySwitch = false;  // --by switch, or --find without --by
    NetboxOptions netboxOptions;
};
// Reads the choices; false with a message on `err` when the layout cannot take --by switch or --find.
bool prepareMapping(const Invocation& run, Mapping& mapping);
// The name templates of NetBox, the topology graph and --verify; false with a message on `err`.
bool parseNameTemplates(const Invocation& run, Mapping& mapping);

// Makes a mode's writer for the header's columns: `names` for Host and Switch, `extra` for a
// plans file's further columns, `notes` to keep messages in order with a plans file's rows
// (nullptr for one enclosure).
using ModeWriterMaker =
    std::function<std::unique_ptr<MapWriter>(bool names, const std::vector<std::string>& extra, OutputSink* notes)>;

// Maps the picks' one enclosure, or each row of --plans, through the writers `make` makes, behind
// the shared-port warning and the --find filter, which adds its labels to `found`. One
// enclosure's output is written only when `written` says so after the run. Returns the status.
int mapEnclosures(const Invocation& run, const Mapping& mapping, const BladeCatalogue& catalogue,
                  const ModeWriterMaker& make, std::size_t& found, const std::function<bool()>& written);

// What every row of a plans file starts from: the options' enclosure type, default OS and separator.
PlansDefaults plansDefaults(const Options& options, const BladeCatalogue& catalogue);
// What the html sheet's footer says of this run, `plansFile` as the command line names it; false
// with a message for a bad SOURCE_DATE_EPOCH.
bool sheetFacts(const std::string& plansFile, const LoadedCatalogue& loaded, SheetFacts& facts, std::FILE* err);
// A plans file as the footer names it: "standard input" for "-".
std::string plansFileName(const std::string& path);
