// bwmap's command line: options and picks in, one enclosure or a plans file mapped, status out.
#include "run.h"

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
#include "cabling_check.h"
#include "cabling_writer.h"
#include "catalogue_check.h"
#include "catalogue_input.h"
#include "html_sheet.h"
#include "map_writer.h"
#include "names.h"
#include "netbox_writer.h"
#include "output_sink.h"
#include "picks.h"
#include "plans.h"
#include "session.h"
#include "switch_view.h"
#include "type_list.h"
#include "version.h"

namespace {

struct Options {
    std::string enclosure;
    std::string defaultOs;
    std::string catalogue;
    std::string format = "table";
    std::string plans;
    std::string delimiter;
    std::string check;
    std::string by = "bay";
    std::string find;
    std::string cableStatus = "planned";
    std::string interfaceType = "other";
    std::string name = "enclosure";
    std::string bladeName = "{enclosure}-bay{bay}";
    std::string switchName = "{enclosure}-sw{switch}";
    std::string nicName = "NIC {nic}";
    std::string switchPortName = "{port}";
    std::vector<std::string> picks;
    std::vector<std::string> verify;
    bool listTypes = false;
};

// One of a fixed set of lower-case words, matched without regard to case by the library's own
// member check; the value becomes that word. Used with transform(): check() would drop the change.
CLI::Validator oneOf(const std::vector<std::string>& words) {
    std::string list;
    for (const std::string& word : words) list += (list.empty() ? "" : "|") + word;
    const CLI::Validator member = CLI::IsMember(words, CLI::ignore_case);
    return CLI::Validator(
        [member, list](std::string& value) -> std::string {
            const std::string given = value;
            if (member(value).empty()) return {};
            value = given;
            return "\"" + given + "\" is not one of " + list;
        },
        list);
}

// A file name must name something: an empty one would read nothing, or the default file.
CLI::Validator nonEmptyName() {
    return CLI::Validator(
        [](std::string& value) -> std::string { return value.empty() ? "the file name is empty" : ""; }, "FILE");
}

// A NetBox choice key: lower-case letters, digits, dots and hyphens.
CLI::Validator interfaceTypeKey() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            bool good = !value.empty();
            for (char ch : value) good = good && ((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.');
            return good ? std::string() : "\"" + printable(value) + "\" is not an interface type key (e.g. 10gbase-kr)";
        },
        "KEY");
}

const char kDescription[] =
    "Prints the port map that the Baywise window shows after the same actions: for every port\n"
    "label, the bay, the blade type, the column OS, the switch port and the NIC.\n\n"
    "PICK is N=TYPE (bay 1-16, TYPE the selector's entry text, e.g. 2=Tarn-M2) or osC=OS\n"
    "(the OS selector of column 1-8), applied in the order given; hostN=NAME names the blade in\n"
    "bay N and switchX=NAME the switch X (Host and Switch columns).\n\n"
    "Exit status: 0 mapped, 2 an error in the input (nothing written), 3 a pick refused by the\n"
    "placement rules or undone by a later pick (its sentence on standard error). With --plans: 2 if any row had an error,\n"
    "else 3 if any was refused. With --find: else 1 when no label is on the port. With --check:\n"
    "0 no finding, 1 any finding, 2 an error. With --verify: 0 every planned port ok and\n"
    "nothing unexpected, 1 any difference, 2 an error.";

// Help names an option's exclusions in the order the options were made: the library keeps them
// in a set of pointers, whose order differs from build to build.
class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(std::vector<const CLI::Option*> order) : order_(std::move(order)) {}

    std::string make_option_opts(const CLI::Option* opt) const override {
        std::string text = CLI::Formatter::make_option_opts(opt);
        const std::string heading = " " + get_label("Excludes") + ":";
        const std::size_t at = text.rfind(heading);
        if (!opt->get_option_text().empty() || at == std::string::npos) return text;
        text.erase(at + heading.size());
        for (const CLI::Option* other : order_)
            if (opt->get_excludes().count(const_cast<CLI::Option*>(other)) != 0) text += " " + other->get_name();
        return text;
    }

private:
    std::vector<const CLI::Option*> order_;
};

CLI::Option* describe(CLI::App& app, Options& options) {
    app.description(kDescription);
    app.add_option("--enclosure", options.enclosure, "enclosure type (default: enhanced)")
        ->transform(oneOf({"standard", "enhanced"}))
        ->option_text("standard|enhanced");
    app.add_option("--os", options.defaultOs, "the default OS (default: linux)")
        ->transform(oneOf({"windows", "linux"}))
        ->option_text("windows|linux");
    app.add_option("--catalogue", options.catalogue,
                   "catalogue file to read instead of bwplan.ini in the current folder")
        ->check(nonEmptyName())
        ->option_text("FILE");
    app.add_option("--format", options.format, "output format (default: table)")
        ->transform(oneOf({"table", "tsv", "csv", "json", "html", "netbox-cables", "netbox-interfaces"}))
        ->option_text("table|tsv|csv|json|html|netbox-cables|netbox-interfaces");
    CLI::Option* plans = app.add_option("--plans", options.plans,
                                        "CSV file of enclosures (- for standard input), one per row: a header naming name, "
                                        "enclosure, os, 1 to 16, os1 to os8, host1 to host16, switchA ...; other "
                                        "columns travel with the row into the output")
                             ->check(nonEmptyName())
                             ->option_text("FILE");
    app.add_option("--delimiter", options.delimiter,
                   "--plans: the cells' separator (default: from the file's sep= line or its header)")
        ->transform(oneOf({",", ";", "tab"}))
        ->option_text(",|;|tab")
        ->needs(plans);
    app.add_option("--by", options.by, "order of the rows: by bay (default) or by switch and port")
        ->transform(oneOf({"bay", "switch"}))
        ->option_text("bay|switch");
    app.add_option("--find", options.find,
                   "only the labels on this switch port: A-7 (switch A, port 7) or NAME:7 (the switch's host "
                   "name); ordered by switch unless --by says otherwise")
        ->option_text("PORT");
    app.add_option("--cable-status", options.cableStatus, "netbox-cables: the cables' status (default: planned)")
        ->transform(oneOf({"connected", "planned", "decommissioning"}))
        ->option_text("connected|planned|decommissioning");
    app.add_option("--interface-type", options.interfaceType,
                   "netbox-interfaces: a NetBox interface type key such as 10gbase-kr (default: other)")
        ->check(interfaceTypeKey())
        ->option_text("KEY");
    app.add_option("--name", options.name, "NetBox formats: a single enclosure's {enclosure} (default: enclosure)")
        ->check(nonEmptyName())
        ->option_text("TEXT");
    app.add_option("--blade-name", options.bladeName,
                   "NetBox formats: a blade without a host name, from {enclosure} and {bay} (default: {enclosure}-bay{bay})")
        ->option_text("TEMPLATE");
    app.add_option("--switch-name", options.switchName,
                   "NetBox formats: a switch without a host name, from {enclosure} and {switch} (default: "
                   "{enclosure}-sw{switch})")
        ->option_text("TEMPLATE");
    app.add_option("--nic-name", options.nicName,
                   "NetBox formats: a blade's interface, from {nic} (the letter) and {n} (1 for NIC A); the "
                   "management port stays MGT (default: NIC {nic})")
        ->option_text("TEMPLATE");
    app.add_option("--switch-port-name", options.switchPortName,
                   "NetBox formats: a switch's interface, from {port} (default: {port})")
        ->option_text("TEMPLATE");
    CLI::Option* verify =
        app.add_option("--verify", options.verify,
                       "check the cabling against LLDP captures (lldpcli -f json show neighbors): HOST.json of "
                       "every blade's host name in the folder DIR, or FILE for the blade HOST; repeatable")
            ->allow_extra_args(false)
            ->option_text("DIR|HOST=FILE");
    CLI::Option* picks = app.add_option("PICK", options.picks, "N=TYPE or osC=OS");
    plans->excludes(picks);
    CLI::Option* check = app.add_option("--check", options.check,
                                        "explain the lines of a catalogue file (default: bwplan.ini) that the "
                                        "window reads otherwise than probably meant, one FILE:LINE: line each")
                             ->expected(0, 1)
                             ->option_text("[FILE]");
    check->excludes(picks)->excludes(plans)->excludes("--catalogue")->excludes(verify);
    verify->excludes("--find");
    app.add_flag("--list-types", options.listTypes,
                 "list the blade types of the catalogue in effect, in the selectors' order: name, ports, the "
                 "bays that offer them and their flags (table or --format json)")
        ->excludes(picks)
        ->excludes(plans)
        ->excludes(check)
        ->excludes(verify)
        ->excludes("--find");
    app.set_version_flag("--version", "bwmap, version " BWMAP_VERSION_DOTTED);
    app.formatter(std::make_shared<HelpFormatter>(std::as_const(app).get_options()));
    return check;
}

MapFormat formatNamed(const std::string& name) {
    if (name == "netbox-cables") return MapFormat::NETBOX_CABLES;
    if (name == "netbox-interfaces") return MapFormat::NETBOX_INTERFACES;
    if (name == "tsv") return MapFormat::TSV;
    if (name == "csv") return MapFormat::CSV;
    if (name == "json") return MapFormat::JSON;
    if (name == "html") return MapFormat::HTML;
    return MapFormat::TABLE;
}

// The library reads `--check ""` as `--check` alone, which checks the default file; an empty
// name is an error like any other.
bool emptyCheckName(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        if (std::strcmp(argv[i], "--check=") == 0) return true;
        if (std::strcmp(argv[i], "--check") == 0 && i + 1 < argc && argv[i + 1][0] == '\0') return true;
    }
    return false;
}

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
        if (verifying) return makeCablingWriter(format, checker, captures, err);
        std::unique_ptr<MapWriter> inner = netbox     ? makeNetboxWriter(format == MapFormat::NETBOX_CABLES, netboxOptions)
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
