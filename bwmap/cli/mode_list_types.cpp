// bwmap --list-types: the catalogue's blade types as a table or JSON Lines.
#include "base/output_sink.h"
#include "base/status.h"
#include "cli/mapping.h"
#include "cli/modes.h"
#include "writers/type_list_writer.h"

int runTypeListMode(const Invocation& run) {
    LoadedCatalogue loaded;
    if (!loadCatalogueOf(run.options, loaded, run.err)) return BWMAP_ERROR;
    const MapFormat format = formatNamed(run.options.format);
    if (format != MapFormat::TABLE && format != MapFormat::JSON) {
        std::fprintf(run.err, "bwmap: --list-types writes a table or --format json, not %s\n", run.options.format.c_str());
        return BWMAP_ERROR;
    }
    OutputSink sink(run.out);
    appendTypeList(sink.buffer(), loaded.catalogue, format == MapFormat::JSON);
    return finishOutput(sink, BWMAP_OK, run.err);
}
