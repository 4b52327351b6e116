// The change ticket between two plans files: the pairs mapped as they meet, compared, written.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/status.h"
#include "cli/mapping.h"
#include "cli/modes.h"
#include "enclosure/plan_pairs.h"
#include "views/plan_diff.h"
#include "writers/diff_sheet.h"
#include "writers/diff_writer.h"
#include "writers/dot_writer.h"

namespace {

// The formats the ticket is written in; any other is refused before a file is read.
bool diffFormat(MapFormat format) {
    return format == MapFormat::TABLE || format == MapFormat::TSV || format == MapFormat::CSV ||
           format == MapFormat::JSON || format == MapFormat::HTML || format == MapFormat::DOT;
}

}  // namespace

// Status 0 when the plans map the same, 1 for any change, 2 for an error in either file.
int runDiffMode(const Invocation& run) {
    const Options& options = run.options;
    const MapFormat format = formatNamed(options.format);
    if (!diffFormat(format)) {
        std::fprintf(run.err, "bwmap: --diff writes table, tsv, csv, json, html or dot, not --format %s\n", options.format.c_str());
        return BWMAP_ERROR;
    }
    if (options.diff[0] == "-" && options.diff[1] == "-") {
        std::fprintf(run.err, "bwmap: --diff reads standard input for one of its files only\n");
        return BWMAP_ERROR;
    }
    LoadedCatalogue loaded;
    if (!loadCatalogueOf(options, loaded, run.err)) return BWMAP_ERROR;
    const bool bySwitch = !run.byGiven || options.by == "switch";
    const bool html = format == MapFormat::HTML;
    SheetFacts facts;
    if (html && !sheetFacts(options.diff[1], loaded, facts, run.err)) return BWMAP_ERROR;
    if (html && !bySwitch) {
        std::fprintf(run.err, "bwmap: --diff --format html lists ports by switch: no --by bay\n");
        return BWMAP_ERROR;
    }
    DiffSheet sheet(facts, plansFileName(options.diff[0]), plansFileName(options.diff[1]));

    // --format dot: the new plan's topology graph, its edges named as --format dot names them.
    std::unique_ptr<MapWriter> graph;
    if (format == MapFormat::DOT) {
        Mapping naming;
        naming.format = format;
        if (!parseNameTemplates(run, naming)) return BWMAP_ERROR;
        graph = makeDotWriter(naming.netboxOptions, run.byGiven && options.by == "switch");
    }
    bool refused = false;

    OutputSink sink(run.out, run.err);
    PlanPairs pairs(loaded.catalogue, plansDefaults(options, loaded.catalogue));
    if (!pairs.open(options.diff[0], options.diff[1], sink, run.err)) return BWMAP_ERROR;
    const std::unique_ptr<DiffWriter> writer =
        graph ? nullptr : makeDiffWriter(format, bySwitch, pairs.extraNames());
    if (graph) graph->begin(sink.buffer());

    // The port rows wait for the facts, which need every pair.
    std::string ports;
    std::vector<PortChange> rows;
    std::vector<BayChange> bays;
    std::vector<std::pair<std::size_t, std::string>> names;  // of the pairs with changed bays, rising
    bool changed = false;
    const bool leftOut = pairs.run(
        [&](std::size_t pair, const MappedEnclosure* before, const MappedEnclosure* after) {
            rows.clear();
            comparePorts(before, after, bySwitch, options.all, rows);
            const std::size_t firstBay = bays.size();
            changedBays(before, after, pair, bays);
            bool pairChanged = bays.size() > firstBay;
            for (const PortChange& row : rows) pairChanged = pairChanged || row.kind != PortChange::SAME;
            changed = changed || pairChanged;
            const MappedEnclosure& any = after ? *after : *before;
            if (bays.size() > firstBay) names.emplace_back(pair, *any.name);
            if (graph) {
                if (!after) return;
                const std::string why = graph->refuse(*after);
                if (why.empty()) graph->write(sink.buffer(), *after);
                else sink.note(pairs.whereInNew(after->name, after->line) + why + "\n");
                refused = refused || !why.empty();
            } else if (html && pairChanged) {
                sheet.add(pair, before, after, rows, bays.data() + firstBay, bays.size() - firstBay);
            } else if (!html) {
                writer->ports(ports, DiffEnclosure{any.name, any.extra}, rows);
            }
        },
        html, sink);
    const std::vector<BladeFact> blades = bladeFacts(bays, [&](const std::string& host) {
        HostPlace place;
        pairs.hostBefore(host, place.pair, place.bay);
        return place;
    });
    // A fact's enclosures are pairs with a changed bay: the bay the host left and the one it went to.
    static const std::string unnamed;
    const auto nameOf = [&](std::size_t pair) -> const std::string& {
        const auto at = std::lower_bound(names.begin(), names.end(), pair,
                                         [](const std::pair<std::size_t, std::string>& named, std::size_t p) {
                                             return named.first < p;
                                         });
        return at != names.end() && at->first == pair ? at->second : unnamed;
    };
    if (writer) writer->finish(ports);
    if (graph) {
        graph->end(sink.buffer());
    } else if (html) {
        sheet.write(sink.buffer(), blades, nameOf);
    } else if (format != MapFormat::TABLE || !blades.empty() || !ports.empty()) {
        writer->facts(sink.buffer(), blades, nameOf);
        writer->header(sink.buffer());
        if (!sink.flush()) return finishOutput(sink, BWMAP_ERROR, run.err);
        sink.buffer().swap(ports);
    }
    return finishOutput(sink, leftOut || refused ? BWMAP_ERROR : changed ? BWMAP_FINDINGS : BWMAP_OK, run.err);
}
