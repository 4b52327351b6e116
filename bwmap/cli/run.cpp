// bwmap's command line: options and picks in, one enclosure or a plans file mapped, status out.
#include "cli/run.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "catalogue.h"
#include "cli/cabling_run.h"
#include "cli/options.h"
#include "views/cabling_check.h"
#include "writers/cabling_writer.h"
#include "views/catalogue_check.h"
#include "input/catalogue_input.h"
#include "writers/html_sheet.h"
#include "writers/map_writer.h"
#include "enclosure/names.h"
#include "writers/netbox_writer.h"
#include "base/output_sink.h"
#include "input/picks.h"
#include "enclosure/plans.h"
#include "enclosure/session.h"
#include "views/switch_view.h"
#include "writers/switch_writer.h"
#include "writers/type_list_writer.h"

namespace {

const char* allocationFailure = nullptr;
void noteFailure(const char* text) { allocationFailure = text; }

// A reader that went away (a closed pipe) ends the run quietly; any other failed write is an
// error, never a success.
int finish(OutputSink& sink, int status, std::FILE* err) {
    if (!sink.flush()) {
        if (sink.readerWentAway()) return BWMAP_ERROR;
        std::fprintf(err, "bwmap: cannot write the output: %s\n", std::strerror(sink.error()));
        return BWMAP_ERROR;
    }
    return status;
}

// A pick that names a host: hostN=NAME or switchX=NAME.
bool isNamePick(const std::string& text) {
    return parseNameKey(text.substr(0, text.find('='))).kind != NameKey::NONE && text.find('=') != std::string::npos;
}

// What the sheet's footer says of this run; false with a message for a bad SOURCE_DATE_EPOCH.
// `catalogue` is the catalogue file's bytes as read, nullptr when no file was read.
bool sheetFacts(const Options& options, const std::string& cataloguePath, const std::string* catalogue,
                SheetFacts& facts, std::FILE* err) {
    std::string error;
    if (!sheetDate(std::getenv("SOURCE_DATE_EPOCH"), static_cast<std::int64_t>(std::time(nullptr)), facts.date, error)) {
        std::fprintf(err, "bwmap: %s\n", error.c_str());
        return false;
    }
    facts.catalogue = catalogueFact(cataloguePath, catalogue);
    facts.plansFile = options.plans == "-" ? "standard input" : options.plans;
    return true;
}

int mapOne(const Options& options, EnclosureSession& session, MapWriter& writer, const std::string& letters,
           OutputSink& sink, std::FILE* err) {
    std::vector<Pick> picks;
    EnclosureNames names;
    for (const std::string& text : options.picks) {
        std::string error;
        if (isNamePick(text)) {
            const std::size_t equals = text.find('=');
            error = setName(names, parseNameKey(text.substr(0, equals)), text.substr(0, equals), text.substr(equals + 1),
                            letters, true);
            if (!error.empty()) {
                std::fprintf(err, "bwmap: %s\n", error.c_str());
                return BWMAP_ERROR;
            }
            continue;
        }
        std::optional<Pick> pick = parsePick(text, error);
        if (!pick) {
            std::fprintf(err, "bwmap: %s\n", error.c_str());
            return BWMAP_ERROR;
        }
        picks.push_back(std::move(*pick));
    }
    session.start(parseEnclosure(options.enclosure), parseOs(options.defaultOs));
    for (const Pick& pick : picks) {
        const PickResult result = session.pick(pick);
        if (result.status == PickResult::DONE) continue;
        std::fprintf(err, "bwmap: %s\n", result.message.c_str());
        return result.status == PickResult::REFUSED ? BWMAP_REFUSED : BWMAP_ERROR;
    }
    const std::string cleared = session.unheldPick();
    if (!cleared.empty()) {
        std::fprintf(err, "bwmap: %s\n", cleared.c_str());
        return BWMAP_REFUSED;
    }
    const std::string error = hostOnEmptyBay(names, session);
    if (!error.empty()) {
        std::fprintf(err, "bwmap: %s\n", error.c_str());
        return BWMAP_ERROR;
    }
    writer.begin(sink.buffer());
    const std::string refused = writeEnclosure(writer, session, nullptr, sink.buffer(), names.any() ? &names : nullptr);
    if (!refused.empty()) {
        std::fprintf(err, "bwmap: %s\n", refused.c_str());
        return BWMAP_ERROR;
    }
    writer.end(sink.buffer());
    return BWMAP_OK;
}

}  // namespace

int runBwmap(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    CLI::App app("", "bwmap");
    Options options;
    const CLI::Option* check = describe(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        OutputSink sink(out);
        sink.buffer() = app.help();
        return sink.flush() ? BWMAP_OK : BWMAP_ERROR;
    } catch (const CLI::CallForVersion&) {
        OutputSink sink(out);
        sink.buffer() = app.version() + "\n";
        return sink.flush() ? BWMAP_OK : BWMAP_ERROR;
    } catch (const CLI::ParseError& e) {
        std::fprintf(err, "bwmap: %s (see bwmap --help)\n", e.what());
        return BWMAP_ERROR;
    }

    if (check->count() > 0) {
        if (emptyCheckName(argc, argv)) {
            std::fprintf(err, "bwmap: --check: the file name is empty (see bwmap --help)\n");
            return BWMAP_ERROR;
        }
        return runCatalogueCheck(options.check.empty() ? "bwplan.ini" : options.check, out, err);
    }

    // A catalogue file named on the command line must be readable; the default one is optional.
    CatalogueHooks hooks;
    std::string catalogueBytes, error;
    const bool named = !options.catalogue.empty();
    const std::string cataloguePath = named ? options.catalogue : hooks.fileName;
    switch (readCatalogueInput(cataloguePath, !named, catalogueBytes, error)) {
    case CatalogueInput::READ:
        hooks.fileBytes = &catalogueBytes;
        break;
    case CatalogueInput::ABSENT:
        hooks.fileName = nullptr;
        break;
    case CatalogueInput::FAILED:
        std::fprintf(err, "bwmap: %s\n", error.c_str());
        return BWMAP_ERROR;
    }
    hooks.report = noteFailure;
    OwnedCatalogue catalogue;
    if (!loadCatalogue(catalogue, hooks)) {
        std::fprintf(err, "bwmap: %s\n", allocationFailure ? allocationFailure : "cannot load the catalogue");
        return BWMAP_ERROR;
    }

    const MapFormat format = formatNamed(options.format);
    if (options.listTypes) {
        if (format != MapFormat::TABLE && format != MapFormat::JSON) {
            std::fprintf(err, "bwmap: --list-types writes a table or --format json, not %s\n", options.format.c_str());
            return BWMAP_ERROR;
        }
        OutputSink sink(out);
        appendTypeList(sink.buffer(), catalogue, format == MapFormat::JSON);
        return finish(sink, BWMAP_OK, err);
    }

    EnclosureSession session(catalogue);
    const bool plans = !options.plans.empty();
    PortQuery query;
    const bool finding = !options.find.empty();
    if (finding) {
        std::string error;
        if (!parsePortQuery(options.find, query, error)) {
            std::fprintf(err, "bwmap: %s\n", error.c_str());
            return BWMAP_ERROR;
        }
    }
    const bool bySwitch = options.by == "switch" || (finding && !app.get_option("--by")->count());
    const bool netbox = format == MapFormat::NETBOX_CABLES || format == MapFormat::NETBOX_INTERFACES;
    if ((format == MapFormat::HTML || netbox) && (bySwitch || finding)) {
        std::fprintf(err, "bwmap: --format %s takes whole enclosures: neither --by switch nor --find\n",
                     options.format.c_str());
        return BWMAP_ERROR;
    }
    const bool verifying = !options.verify.empty();
    if (verifying && (format == MapFormat::HTML || netbox || bySwitch)) {
        std::fprintf(err, "bwmap: --verify writes table, tsv, csv or json rows by bay: neither --format %s nor --by switch\n",
                     options.format.c_str());
        return BWMAP_ERROR;
    }
    NetboxOptions netboxOptions;
    netboxOptions.cableStatus = options.cableStatus;
    netboxOptions.interfaceType = options.interfaceType;
    netboxOptions.enclosureName = options.name;
    if (netbox || verifying) {
        const std::string error = parseNetboxTemplates(netboxOptions, options.bladeName, options.switchName,
                                                       options.nicName, options.switchPortName);
        if (!error.empty()) {
            std::fprintf(err, "bwmap: %s\n", error.c_str());
            return BWMAP_ERROR;
        }
    }
    CaptureSource captures;
    for (const std::string& value : options.verify) {
        const std::string error = captures.add(value);
        if (!error.empty()) {
            std::fprintf(err, "bwmap: %s\n", error.c_str());
            return BWMAP_ERROR;
        }
    }
    CablingChecker checker(captures, {netboxOptions.switchHost, netboxOptions.port}, options.name);
    SheetFacts facts;
    if (format == MapFormat::HTML && !sheetFacts(options, cataloguePath, hooks.fileBytes, facts, err)) return BWMAP_ERROR;
    std::size_t found = 0;
    // A plans run's messages are buffered beside its output; one enclosure's go out at once.
    OutputSink sink(out, plans ? err : nullptr);
    if (netbox) sink.keepLineEnds();
    // NetBox's import files take only the headers NetBox knows: no further columns there.
    const WriterMaker makeWriter = [&](bool names, const std::vector<std::string>& extra) -> std::unique_ptr<MapWriter> {
        // --verify warns of shared ports as every mode does.
        std::unique_ptr<MapWriter> inner = verifying ? std::make_unique<CablingRun>(makeCablingWriter(format), checker,
                                                                                    captures, err, plans ? &sink : nullptr,
                                                                                    options.plans == "-" ? "<stdin>" : options.plans)
                                           : netbox     ? makeNetboxWriter(format == MapFormat::NETBOX_CABLES, netboxOptions)
                                           : bySwitch ? makeSwitchWriter(format, plans, names, catalogue, extra)
                                                      : format == MapFormat::HTML ? makeHtmlWriter(&facts)
                                                      : makeMapWriter(format, plans, catalogue, names, extra);
        return std::make_unique<SwitchPortFilter>(std::move(inner),
                                                  finding ? &query : nullptr, &found, err, plans ? &sink : nullptr);
    };
    const std::string letters = switchLetters(catalogue);
    int status;
    if (!plans) {
        bool names = false;
        for (const std::string& text : options.picks) names = names || isNamePick(text);
        const std::unique_ptr<MapWriter> writer = makeWriter(names, {});
        status = mapOne(options, session, *writer, letters, sink, err);
        // One enclosure writes nothing on an error, a capture's too.
        if (status == BWMAP_OK && !(verifying && checker.anyError())) status = finish(sink, status, err);

    } else {
        PlansDefaults defaults;
        defaults.enclosureType = parseEnclosure(options.enclosure);
        defaults.defaultOs = parseOs(options.defaultOs);
        defaults.switchLetters = letters;
        defaults.separator = options.delimiter == "tab" ? '\t' : options.delimiter.empty() ? 0 : options.delimiter[0];
        status = finish(sink, runPlans(options.plans, defaults, session, makeWriter, sink, err), err);
    }
    if (verifying) return status != BWMAP_OK || checker.anyError() ? BWMAP_ERROR : checker.anyDifference() ? BWMAP_FINDINGS : BWMAP_OK;
    return status == BWMAP_OK && finding && found == 0 ? BWMAP_FINDINGS : status;
}
