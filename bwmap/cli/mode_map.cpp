// The port map of the picks or a plans file, in the layout the options choose.
#include <memory>
#include <string>
#include <vector>

#include "base/status.h"
#include "cli/mapping.h"
#include "cli/modes.h"
#include "writers/dot_writer.h"
#include "writers/html_sheet.h"
#include "writers/netbox_writer.h"
#include "writers/sheet_footer.h"
#include "writers/switch_writer.h"

namespace {

// What a layout's writer is made of.
struct MapRequest {
    const Mapping& mapping;
    const BladeCatalogue& catalogue;
    bool plans;
    const SheetFacts* facts;  // the html sheet's footer
};

using LayoutWriter = std::unique_ptr<MapWriter> (*)(const MapRequest&, bool names, const std::vector<std::string>& extra);

// NetBox's import files take only the headers NetBox knows: of the further columns, only a site.
std::unique_ptr<MapWriter> netboxFiles(const MapRequest& r, bool, const std::vector<std::string>& extra) {
    return makeNetboxWriter(r.mapping.format == MapFormat::NETBOX_CABLES, r.mapping.netboxOptions, extra);
}
// The topology graph has no columns: --by switch only orders its edges.
std::unique_ptr<MapWriter> dotGraph(const MapRequest& r, bool, const std::vector<std::string>&) {
    return makeDotWriter(r.mapping.netboxOptions, r.mapping.bySwitch);
}
std::unique_ptr<MapWriter> switchSide(const MapRequest& r, bool names, const std::vector<std::string>& extra) {
    return makeSwitchWriter(r.mapping.format, r.plans, names, r.catalogue, extra);
}
std::unique_ptr<MapWriter> htmlSheet(const MapRequest& r, bool, const std::vector<std::string>&) {
    return makeHtmlWriter(r.facts);
}
std::unique_ptr<MapWriter> bladeSide(const MapRequest& r, bool names, const std::vector<std::string>& extra) {
    return makeMapWriter(r.mapping.format, r.plans, r.catalogue, names, extra);
}

// The layouts in the order they are tried; the first whose test holds writes the map.
struct Layout {
    bool (*chosen)(const Mapping&);
    LayoutWriter writer;
};
const Layout kLayouts[] = {
    {[](const Mapping& m) { return m.netbox; }, netboxFiles},
    {[](const Mapping& m) { return m.format == MapFormat::DOT; }, dotGraph},
    {[](const Mapping& m) { return m.bySwitch; }, switchSide},
    {[](const Mapping& m) { return m.format == MapFormat::HTML; }, htmlSheet},
    {[](const Mapping&) { return true; }, bladeSide},
};

}  // namespace

// Status 1 when --find found no label.
int runMapMode(const Invocation& run) {
    LoadedCatalogue loaded;
    if (!loadCatalogueOf(run.options, loaded, run.err)) return BWMAP_ERROR;
    Mapping mapping;
    if (!prepareMapping(run, mapping)) return BWMAP_ERROR;
    if (mapping.format == MapFormat::JUNIT) {
        std::fprintf(run.err, "bwmap: --format junit writes the verdicts of --verify\n");
        return BWMAP_ERROR;
    }
    if ((mapping.netbox || mapping.format == MapFormat::DOT) && !parseNameTemplates(run, mapping)) return BWMAP_ERROR;
    SheetFacts facts;
    if (mapping.format == MapFormat::HTML && !sheetFacts(run.options.plans, loaded, facts, run.err)) return BWMAP_ERROR;
    const MapRequest request{mapping, loaded.catalogue, !run.options.plans.empty(), &facts};
    LayoutWriter writer = nullptr;
    for (const Layout& layout : kLayouts)
        if (!writer && layout.chosen(mapping)) writer = layout.writer;
    const ModeWriterMaker make = [&](bool names, const std::vector<std::string>& extra, OutputSink*) {
        return writer(request, names, extra);
    };
    std::size_t found = 0;
    const int status = mapEnclosures(run, mapping, loaded.catalogue, make, found, [] { return true; });
    return status == BWMAP_OK && mapping.finding && found == 0 ? BWMAP_FINDINGS : status;
}
