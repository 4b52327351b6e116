// bwmap --check: one catalogue file read and explained.
#include <string>

#include "base/output_sink.h"
#include "base/status.h"
#include "cli/mapping.h"
#include "cli/modes.h"
#include "input/catalogue_input.h"
#include "views/catalogue_check.h"

// Status 0 without findings, 1 with any, 2 when the file could not be checked or the output
// not written.
int runCheckMode(const Invocation& run) {
    if (run.emptyCheckName) {
        std::fprintf(run.err, "bwmap: --check: the file name is empty (see bwmap --help)\n");
        return BWMAP_ERROR;
    }
    const std::string path = run.options.check.empty() ? "bwplan.ini" : run.options.check;
    std::string bytes, error;
    if (readCatalogueInput(path, false, bytes, error) != CatalogueInput::READ) {
        std::fprintf(run.err, "bwmap: %s\n", error.c_str());
        return BWMAP_ERROR;
    }
    CatalogueReport report;
    if (!checkCatalogue(bytes, report)) {
        std::fprintf(run.err, "bwmap: cannot check %s: Unable to allocate memory\n", path.c_str());
        return BWMAP_ERROR;
    }
    OutputSink sink(run.out);
    appendCatalogueReport(sink.buffer(), path, report);
    return finishOutput(sink, report.findings.empty() ? BWMAP_OK : BWMAP_FINDINGS, run.err);
}
