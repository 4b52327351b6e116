// bwmap's command line: the options parsed, then the first mode whose test holds runs.
#include "cli/run.h"

#include <CLI/CLI.hpp>

#include "base/output_sink.h"
#include "cli/modes.h"
#include "cli/options.h"

namespace {

// A mode's test reads the command line; the modes are tried in order.
struct Mode {
    bool (*chosen)(const Options& options, bool checkGiven);
    int (*run)(const Invocation& invocation);
};
const Mode kModes[] = {
    {[](const Options&, bool checkGiven) { return checkGiven; }, runCheckMode},
    {[](const Options& o, bool) { return o.listTypes; }, runTypeListMode},
    {[](const Options& o, bool) { return !o.verify.empty(); }, runVerifyMode},
    {[](const Options& o, bool) { return !o.diff.empty(); }, runDiffMode},
    {[](const Options&, bool) { return true; }, runMapMode},
};

// The parser's "--plans: 1 required TEXT:FILE missing" as a sentence: "--plans needs a value:
// FILE". Any other mismatch as the parser says it.
std::string missingValue(const CLI::App& app, const std::string& what) {
    const std::size_t colon = what.find(": ");
    if (colon == std::string::npos || what.size() < 8 || what.find(" required ", colon) == std::string::npos ||
        what.compare(what.size() - 8, 8, " missing") != 0)
        return what;
    const std::string name = what.substr(0, colon);
    const CLI::Option* option = app.get_option_no_throw(name);
    const std::string value = option && !option->get_option_text().empty() ? option->get_option_text() : "a value";
    return name + " needs a value after it: " + value;
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
    } catch (const CLI::ArgumentMismatch& e) {
        std::fprintf(err, "bwmap: %s (see bwmap --help)\n", missingValue(app, e.what()).c_str());
        return BWMAP_ERROR;
    } catch (const CLI::ParseError& e) {
        std::fprintf(err, "bwmap: %s (see bwmap --help)\n", e.what());
        return BWMAP_ERROR;
    }
    if (!options.delimiter.empty() && options.plans.empty() && options.diff.empty()) {
        std::fprintf(err, "bwmap: --delimiter requires --plans or --diff (see bwmap --help)\n");
        return BWMAP_ERROR;
    }
    const bool checkGiven = check->count() > 0;
    const Invocation invocation{options, app.get_option("--by")->count() > 0, checkGiven && emptyCheckName(argc, argv),
                                out, err};
    for (const Mode& mode : kModes)
        if (mode.chosen(options, checkGiven)) return mode.run(invocation);
    return BWMAP_ERROR;
}
