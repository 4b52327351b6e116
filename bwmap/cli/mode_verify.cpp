// bwmap --verify: the plan's cabling against the switches' LLDP captures, row by bay.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "base/status.h"
#include "cli/cabling_run.h"
#include "cli/mapping.h"
#include "cli/modes.h"
#include "input/lldp_capture.h"
#include "views/cabling_check.h"
#include "writers/cabling_writer.h"
#include "writers/junit_writer.h"
#include "writers/sheet_footer.h"

namespace {

// The report's date: SOURCE_DATE_EPOCH's, for a report that the same input makes the same.
bool junitTimestamp(const Invocation& run, std::string& timestamp) {
    std::int64_t seconds = 0;
    std::string error;
    if (!runSeconds(std::getenv("SOURCE_DATE_EPOCH"), static_cast<std::int64_t>(std::time(nullptr)), seconds, error)) {
        std::fprintf(run.err, "bwmap: %s\n", error.c_str());
        return false;
    }
    timestamp = isoUtcText(seconds);
    return true;
}

}  // namespace

// Status 0 when every port is as planned, 1 with a difference, 2 on any error, a capture's too.
int runVerifyMode(const Invocation& run) {
    const Options& options = run.options;
    LoadedCatalogue loaded;
    if (!loadCatalogueOf(options, loaded, run.err)) return BWMAP_ERROR;
    Mapping mapping;
    if (!prepareMapping(run, mapping)) return BWMAP_ERROR;
    if (mapping.format == MapFormat::HTML || mapping.netbox || mapping.format == MapFormat::DOT || mapping.bySwitch) {
        std::fprintf(run.err,
                     "bwmap: --verify writes table, tsv, csv, json or junit rows by bay: neither --format %s nor --by switch\n",
                     options.format.c_str());
        return BWMAP_ERROR;
    }
    if (!parseNameTemplates(run, mapping)) return BWMAP_ERROR;
    std::string timestamp;
    if (mapping.format == MapFormat::JUNIT && !junitTimestamp(run, timestamp)) return BWMAP_ERROR;
    CaptureSource captures;
    for (const std::string& value : options.verify) {
        const std::string error = captures.add(value);
        if (!error.empty()) {
            std::fprintf(run.err, "bwmap: %s\n", error.c_str());
            return BWMAP_ERROR;
        }
    }
    CablingChecker checker(captures, {mapping.netboxOptions.switchHost, mapping.netboxOptions.port}, options.name);
    const std::string plansFile = options.plans == "-" ? "<stdin>" : options.plans;
    // --verify warns of shared ports as every mode does: mapEnclosures puts the warning in front.
    const ModeWriterMaker make = [&](bool, const std::vector<std::string>&, OutputSink* notes) -> std::unique_ptr<MapWriter> {
        std::unique_ptr<CablingWriter> writer =
            mapping.format == MapFormat::JUNIT ? makeJunitWriter(timestamp) : makeCablingWriter(mapping.format);
        return std::make_unique<CablingRun>(std::move(writer), checker, captures, run.err, notes, plansFile);
    };
    std::size_t found = 0;
    const int status = mapEnclosures(run, mapping, loaded.catalogue, make, found, [&] { return !checker.anyError(); });
    return status != BWMAP_OK || checker.anyError() ? BWMAP_ERROR : checker.anyDifference() ? BWMAP_FINDINGS : BWMAP_OK;
}
