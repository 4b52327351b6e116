// bwmap's options: their names, checks and help text.
#include "cli/options.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

#include <CLI/CLI.hpp>

#include "base/version.h"
#include "input/picks.h"

namespace {

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

// A NetBox choice key: lower-case letters, digits, dots, hyphens and underscores (400gbase-sr4_2).
CLI::Validator interfaceTypeKey() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            bool good = !value.empty();
            for (char ch : value) good = good && ((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == '_');
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
    "nothing unexpected, 1 any difference, 2 an error. With --diff: 0 the plans map the same, 1 any\n"
    "change, 2 an error or a refusal in either file.";

// The help's width, and the column where options' descriptions start.
constexpr std::size_t kHelpWidth = 80;
constexpr std::size_t kHelpColumn = 26;

// The help's groups in the order shown, each after the options' own.
const char* const kGroups[] = {"Picks and names", "Output", "Plans files", "The switch's side", "NetBox", "Checks",
                               "Help"};

// `text` wrapped at blanks to lines of at most `width` characters, each line after the first
// indented by `indent`; a single word longer than a line stands alone on its line.
std::string wrapped(const std::string& text, std::size_t width, std::size_t indent) {
    std::string out;
    std::size_t lineStart = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = text.find(' ', at);
        const std::string word = text.substr(at, next == std::string::npos ? std::string::npos : next - at);
        at = next == std::string::npos ? text.size() : next + 1;
        if (word.empty()) continue;
        const std::size_t length = out.size() - lineStart;
        if (length > 0 && length + 1 + word.size() > width) {
            out += '\n';
            out.append(indent, ' ');
            lineStart = out.size();
        } else if (length > 0 && out.back() != ' ') {
            out += ' ';
        }
        out += word;
    }
    return out;
}

std::size_t helpPlace(const CLI::Option& option);

// The help: usage first, the description's paragraphs, then the options by group, every line
// within 80 columns. An option's exclusions end its description, in the order the options were
// made: the library keeps them in a set of pointers, whose order differs from build to build.
class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(std::vector<const CLI::Option*> order) : order_(std::move(order)) {}

    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override {
        (void)mode;
        std::string out = make_usage(app, name) + "\n";
        std::string description = app->get_description();
        for (std::size_t at = 0; at < description.size();) {
            std::size_t end = description.find("\n\n", at);
            if (end == std::string::npos) end = description.size();
            std::string paragraph = description.substr(at, end - at);
            for (char& ch : paragraph) ch = ch == '\n' ? ' ' : ch;
            out += wrapped(paragraph, kHelpWidth, 0) + "\n\n";
            at = end + 2;
        }
        for (const char* group : kGroups) {
            std::vector<const CLI::Option*> options =
                app->get_options([group](const CLI::Option* opt) { return opt->get_group() == group; });
            std::stable_sort(options.begin(), options.end(), [](const CLI::Option* a, const CLI::Option* b) {
                return helpPlace(*a) < helpPlace(*b);
            });
            if (options.empty()) continue;
            out += std::string(group) + ":\n";
            for (const CLI::Option* opt : options) out += make_option(opt, opt->get_positional());
            out += '\n';
        }
        out.pop_back();
        return out;
    }

    std::string make_option(const CLI::Option* opt, bool positional) const override {
        std::string left = "  " + make_option_name(opt, positional);
        if (!opt->get_option_text().empty()) left += " " + opt->get_option_text();
        std::string description = opt->get_description();
        std::string excluded;
        for (const CLI::Option* other : order_)
            if (opt->get_excludes().count(const_cast<CLI::Option*>(other)) != 0)
                excluded += (excluded.empty() ? "" : ", ") + other->get_name();
        if (!excluded.empty()) description += ". Not with " + excluded + ".";
        const std::string text = wrapped(description, kHelpWidth - kHelpColumn, kHelpColumn);
        if (left.size() + 2 > kHelpColumn) return left + "\n" + std::string(kHelpColumn, ' ') + text + "\n";
        return left + std::string(kHelpColumn - left.size(), ' ') + text + "\n";
    }

private:
    std::vector<const CLI::Option*> order_;
};

// The group of each option the help shows, in the order shown within the group; an option it
// does not list follows those listed, in NetBox's group when its help names a NetBox format
// first, else in Output.
const std::pair<const char*, const char*> kGroupOf[] = {
    {"PICK", "Picks and names"},
    {"--enclosure", "Picks and names"},
    {"--os", "Picks and names"},
    {"--catalogue", "Picks and names"},
    {"--list-types", "Picks and names"},
    {"--format", "Output"},
    {"--plans", "Plans files"},
    {"--delimiter", "Plans files"},
    {"--diff", "Plans files"},
    {"--all", "Plans files"},
    {"--by", "The switch's side"},
    {"--find", "The switch's side"},
    {"--switch-name", "The switch's side"},
    {"--switch-port-name", "The switch's side"},
    {"--check", "Checks"},
    {"--verify", "Checks"},
    {"--help", "Help"},
    {"--version", "Help"},
};

std::size_t helpPlace(const CLI::Option& option) {
    std::size_t place = 0;
    while (place < std::size(kGroupOf) && !option.check_name(kGroupOf[place].first)) ++place;
    return place;
}

const char* groupOf(const CLI::Option& option) {
    for (const auto& [name, group] : kGroupOf)
        if (option.check_name(name)) return group;
    const std::string& help = option.get_description();
    return help.rfind("NetBox", 0) == 0 || help.rfind("netbox-", 0) == 0 ? "NetBox" : "Output";
}

}  // namespace

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
        ->transform(oneOf({"table", "tsv", "csv", "json", "html", "netbox-cables", "netbox-interfaces", "dot", "junit"}))
        ->option_text("table|tsv|csv|json|html|netbox-cables|netbox-interfaces|dot|junit");
    CLI::Option* plans = app.add_option("--plans", options.plans,
                                        "CSV file of enclosures (- for standard input), one per row: a header naming name, "
                                        "enclosure, os, 1 to 16, os1 to os8, host1 to host16, switchA ...; other "
                                        "columns travel with the row into the output")
                             ->check(nonEmptyName())
                             ->option_text("FILE");
    // Needs --plans or --diff: runBwmap checks, the library's needs() takes one option alone.
    app.add_option("--delimiter", options.delimiter,
                   "--plans and --diff: the cells' separator (default: from the file's sep= line or its header)")
        ->transform(oneOf({",", ";", "tab"}))
        ->option_text(",|;|tab");
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
    app.add_option("--mgmt-interface-type", options.mgmtInterfaceType,
                   "netbox-interfaces: the management port's NetBox interface type key (default: 1000base-t)")
        ->check(interfaceTypeKey())
        ->option_text("KEY");
    app.add_option("--site", options.site,
                   "netbox-cables: the NetBox site of both ends of every cable (side_a_site, side_b_site); a plans "
                   "row's site cell comes first")
        ->check(CLI::Validator([](std::string& value) { return value.empty() ? "the site name is empty" : ""; }, "NAME"))
        ->option_text("NAME");
    app.add_option("--cable-label", options.cableLabel,
                   "netbox-cables: a cable's label, from {enclosure}, {label} (as the window shows it), {host} and "
                   "{switch} (the two devices' names) (default: {label})")
        ->option_text("TEMPLATE");
    app.add_option("--name", options.name, "NetBox formats and dot: a single enclosure's {enclosure} (default: enclosure)")
        ->check(nonEmptyName())
        ->option_text("TEXT");
    app.add_option("--blade-name", options.bladeName,
                   "NetBox formats and dot: a blade without a host name, from {enclosure} and {bay} (default: {enclosure}-bay{bay})")
        ->option_text("TEMPLATE");
    app.add_option("--switch-name", options.switchName,
                   "NetBox formats, dot and --verify: a switch without a host name, from {enclosure} and {switch} "
                   "(default: {enclosure}-sw{switch})")
        ->option_text("TEMPLATE");
    app.add_option("--nic-name", options.nicName,
                   "NetBox formats and dot: a blade's interface, from {nic} (the letter) and {n} (1 for NIC A); the "
                   "management port stays MGT (default: NIC {nic})")
        ->option_text("TEMPLATE");
    app.add_option("--switch-port-name", options.switchPortName,
                   "NetBox formats, dot and --verify: a switch port's name, from {port} (the number on the label), "
                   "such as swp{port} (default: {port})")
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
    CLI::Option* diff =
        app.add_option("--diff", options.diff,
                       "the change ticket between two plans files (either may be - for standard input): the "
                       "switch ports whose use changes (--by switch, the default) or the blade NICs whose port "
                       "changes (--by bay), after the blades that move, are replaced, added or removed")
            ->expected(2)
            ->allow_extra_args(false)
            ->option_text("OLD NEW");
    diff->excludes(picks)->excludes(plans)->excludes(check)->excludes(verify)->excludes("--find")->excludes("--list-types");
    app.add_flag("--all", options.all, "--diff: the ports whose use stays the same too, as same")->needs(diff);
    app.set_help_flag("-h,--help", "print this help and end");
    app.set_version_flag("--version", "bwmap, version " BWMAP_VERSION_DOTTED, "print the version and end");
    for (CLI::Option* option : app.get_options()) option->group(groupOf(*option));
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
    if (name == "dot") return MapFormat::DOT;
    if (name == "junit") return MapFormat::JUNIT;
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
