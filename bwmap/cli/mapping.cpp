#include "cli/mapping.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <utility>

#include "base/status.h"
#include "enclosure/names.h"
#include "enclosure/plans.h"
#include "enclosure/session.h"
#include "input/catalogue_input.h"
#include "input/picks.h"
#include "writers/netbox_types.h"

namespace {

const char* allocationFailure = nullptr;
void noteFailure(const char* text) { allocationFailure = text; }

// A pick that names a host: hostN=NAME or switchX=NAME.
bool isNamePick(const std::string& text) {
    return parseNameKey(text.substr(0, text.find('='))).kind != NameKey::NONE && text.find('=') != std::string::npos;
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

int finishOutput(OutputSink& sink, int status, std::FILE* err) {
    if (!sink.flush()) {
        if (sink.readerWentAway()) return BWMAP_ERROR;
        std::fprintf(err, "bwmap: cannot write the output: %s\n", std::strerror(sink.error()));
        return BWMAP_ERROR;
    }
    return status;
}

bool loadCatalogueOf(const Options& options, LoadedCatalogue& loaded, std::FILE* err) {
    CatalogueHooks hooks;
    std::string error;
    const bool named = !options.catalogue.empty();
    loaded.path = named ? options.catalogue : hooks.fileName;
    switch (readCatalogueInput(loaded.path, !named, loaded.bytes, error)) {
    case CatalogueInput::READ:
        hooks.fileBytes = &loaded.bytes;
        loaded.read = true;
        break;
    case CatalogueInput::ABSENT:
        hooks.fileName = nullptr;
        break;
    case CatalogueInput::FAILED:
        std::fprintf(err, "bwmap: %s\n", error.c_str());
        return false;
    }
    hooks.report = noteFailure;
    if (!loadCatalogue(loaded.catalogue, hooks)) {
        std::fprintf(err, "bwmap: %s\n", allocationFailure ? allocationFailure : "cannot load the catalogue");
        return false;
    }
    return true;
}

bool prepareMapping(const Invocation& run, Mapping& mapping) {
    const Options& options = run.options;
    mapping.format = formatNamed(options.format);
    mapping.finding = !options.find.empty();
    if (mapping.finding) {
        std::string error;
        if (!parsePortQuery(options.find, mapping.query, error)) {
            std::fprintf(run.err, "bwmap: %s\n", error.c_str());
            return false;
        }
    }
    mapping.bySwitch = options.by == "switch" || (mapping.finding && !run.byGiven);
    mapping.netbox = mapping.format == MapFormat::NETBOX_CABLES || mapping.format == MapFormat::NETBOX_INTERFACES;
    if (mapping.format == MapFormat::DOT && mapping.finding) {
        std::fprintf(run.err, "bwmap: --format dot takes whole enclosures: not --find\n");
        return false;
    }
    if ((mapping.format == MapFormat::HTML || mapping.netbox) && (mapping.bySwitch || mapping.finding)) {
        std::fprintf(run.err, "bwmap: --format %s takes whole enclosures: neither --by switch nor --find\n",
                     options.format.c_str());
        return false;
    }
    return true;
}

bool parseNameTemplates(const Invocation& run, Mapping& mapping) {
    const Options& options = run.options;
    NetboxOptions& netbox = mapping.netboxOptions;
    netbox.cableStatus = options.cableStatus;
    netbox.interfaceType = options.interfaceType;
    netbox.mgmtInterfaceType = options.mgmtInterfaceType;
    netbox.site = options.site;
    netbox.enclosureName = options.name;
    std::string error =
        parseCableNaming(netbox, options.bladeName, options.switchName, options.nicName, options.switchPortName);
    if (error.empty()) error = parseCableLabel(netbox, options.cableLabel);
    if (!error.empty()) {
        std::fprintf(run.err, "bwmap: %s\n", error.c_str());
        return false;
    }
    // A key this NetBox does not list fails its import, unless a newer NetBox added it.
    if (mapping.format == MapFormat::NETBOX_INTERFACES)
        for (const auto& [option, key] : {std::pair<const char*, const std::string*>{"--interface-type", &netbox.interfaceType},
                                          {"--mgmt-interface-type", &netbox.mgmtInterfaceType}})
            if (!isNetboxInterfaceType(*key))
                std::fprintf(run.err, "bwmap: warning: %s: \"%s\" is not one of NetBox's interface type keys; it is "
                                      "written as given\n", option, key->c_str());
    return true;
}

int mapEnclosures(const Invocation& run, const Mapping& mapping, const BladeCatalogue& catalogue,
                  const ModeWriterMaker& make, std::size_t& found, const std::function<bool()>& written) {
    const Options& options = run.options;
    const bool plans = !options.plans.empty();
    EnclosureSession session(catalogue);
    // A plans run's messages are buffered beside its output; one enclosure's go out at once.
    OutputSink sink(run.out, plans ? run.err : nullptr);
    if (mapping.netbox) sink.keepLineEnds();
    bool unknownSwitch = false;  // --find NAME:7 and no switch has the name
    const WriterMaker makeWriter = [&](bool names, const std::vector<std::string>& extra) -> std::unique_ptr<MapWriter> {
        return std::make_unique<SwitchPortFilter>(make(names, extra, plans ? &sink : nullptr),
                                                  mapping.finding ? &mapping.query : nullptr, &found, run.err,
                                                  plans ? &sink : nullptr, &unknownSwitch);
    };
    const std::string letters = switchLetters(catalogue);
    if (!plans) {
        bool names = false;
        for (const std::string& text : options.picks) names = names || isNamePick(text);
        const std::unique_ptr<MapWriter> writer = makeWriter(names, {});
        int status = mapOne(options, session, *writer, letters, sink, run.err);
        if (status == BWMAP_OK && unknownSwitch) status = BWMAP_ERROR;
        // One enclosure writes nothing on an error.
        return status == BWMAP_OK && written() ? finishOutput(sink, status, run.err) : status;
    }
    const int status = runPlans(options.plans, plansDefaults(options, catalogue), session, makeWriter, sink, run.err);
    return finishOutput(sink, unknownSwitch ? BWMAP_ERROR : status, run.err);
}

PlansDefaults plansDefaults(const Options& options, const BladeCatalogue& catalogue) {
    PlansDefaults defaults;
    defaults.enclosureType = parseEnclosure(options.enclosure);
    defaults.defaultOs = parseOs(options.defaultOs);
    defaults.switchLetters = switchLetters(catalogue);
    defaults.separator = options.delimiter == "tab" ? '\t' : options.delimiter.empty() ? 0 : options.delimiter[0];
    return defaults;
}

bool sheetFacts(const std::string& plansFile, const LoadedCatalogue& loaded, SheetFacts& facts, std::FILE* err) {
    std::string error;
    if (!sheetDate(std::getenv("SOURCE_DATE_EPOCH"), static_cast<std::int64_t>(std::time(nullptr)), facts.date, error)) {
        std::fprintf(err, "bwmap: %s\n", error.c_str());
        return false;
    }
    facts.catalogue = catalogueFact(loaded.path, loaded.read ? &loaded.bytes : nullptr);
    facts.plansFile = plansFileName(plansFile);
    return true;
}

std::string plansFileName(const std::string& path) { return path == "-" ? "standard input" : path; }
