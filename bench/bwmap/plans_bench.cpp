// Benchmark: bwmap --plans against the same placements through updateEnclosure alone, and
// against an earlier build of the program.
//
//   plans_bench BWMAP [--baseline OLD_BWMAP] [--format FORMAT] [ROWS...]
//                                    (default format tsv, rows 1000 10000 100000)
//   plans_bench BWMAP --diff [--format FORMAT] [ROWS...]
//
// With --diff it writes a new plan beside each plans file (a tenth of the enclosures with a bay
// changed, the rows shuffled) and runs `--diff OLD NEW` and `--plans NEW` in turn: the medians,
// their ratio and both peaks.
//
// For each size it writes a plans file of full enclosures (16 bays each, seeded), runs the
// program on it (output and warnings to /dev/null), the baseline program too when given, and, in
// this process, applies the same placements to a copy of the start-up model form, the three in
// turn; it prints the medians, the ratios, the time per row and the programs' peak memory (max RSS).
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "catalogue.h"
#include "form_model.h"
#include "population.h"
#include "rules.h"

namespace {

// Half-height types that may share a column with each other and with Fell.
const char kCatalogue[] =
    "\"HalfA\" 0x1800000 AB 11\n"
    "\"HalfB\" 0x1808000 AABB 1212\n"
    "\"HalfW\" 0x1800100 AABB 1212\n";
const char* const kTypes[] = {"Fell", "HalfA", "HalfB", "HalfW"};

struct Plan {
    int os;                 // default OS
    std::string bay[16];
};

std::vector<Plan> makePlans(int rows) {
    std::mt19937 random(20261208);
    std::vector<Plan> plans(static_cast<std::size_t>(rows));
    for (Plan& plan : plans) {
        plan.os = static_cast<int>(random() % 2);
        for (std::string& bay : plan.bay) bay = kTypes[random() % 4];
    }
    return plans;
}

// Rows in `order` (indexes into `plans`; empty for their own order), each named by its index.
void writePlans(const std::string& path, const std::vector<Plan>& plans, const std::vector<std::size_t>& order = {}) {
    std::ofstream file(path);
    file << "name,os";
    for (int bay = 1; bay <= 16; ++bay) file << ',' << bay;
    file << '\n';
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const std::size_t n = order.empty() ? i : order[i];
        const Plan& plan = plans[n];
        file << "rack " << n + 1 << ',' << (plan.os == OS_WINDOWS ? "windows" : "linux");
        for (const std::string& bay : plan.bay) file << ',' << bay;
        file << '\n';
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ProgramRun {
    double seconds;
    long maxRssKb;
};

// GNU time runs the program, so its peak is the program's own: a child spawned from this process
// would be charged this process's peak too.
// `input` is "--plans 'FILE'" or "--diff 'OLD' 'NEW'"; `ok` the exit status expected.
ProgramRun runProgram(const std::string& program, const std::string& input, const std::string& catalogue,
                      const std::string& format, int ok = 0) {
    const std::string report = catalogue + ".time";
    const std::string command = "/usr/bin/time -f '%e %M' -o '" + report + "' '" + program + "' " + input +
                                " --catalogue '" + catalogue + "' --format '" + format + "' >/dev/null 2>/dev/null";
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != ok) {
        std::fprintf(stderr, "plans_bench: %s failed\n", program.c_str());
        std::exit(1);
    }
    ProgramRun run{};
    // GNU time puts "Command exited with non-zero status N" before its line.
    std::ifstream file(report);
    for (std::string line; std::getline(file, line);)
        if (line.rfind("Command", 0) != 0) std::sscanf(line.c_str(), "%lf %ld", &run.seconds, &run.maxRssKb);
    std::remove(report.c_str());
    return run;
}

int indexOf(const FormModel& form, int id, const std::string& text) {
    const auto& entries = form.control(id).entries;
    return static_cast<int>(std::find(entries.begin(), entries.end(), text) - entries.begin());
}

// The logic alone: per plan a copy of the start-up form, the default OS, then each bay's
// selection applied with a recompute, as the bay selector's command does.
double runLogic(const BladeCatalogue& catalogue, const std::vector<Plan>& plans, std::size_t& labels) {
    FormModel startUp;
    populateForm(startUp, catalogue);
    const auto start = std::chrono::steady_clock::now();
    for (const Plan& plan : plans) {
        FormModel form = startUp;
        form.setSelection(IDC_DEFAULT_OS, plan.os);
        for (int bay = 0; bay < 16; ++bay) {
            const int id = bay < 8 ? ids::upperBay(bay) : ids::lowerBay(bay - 8);
            form.setSelection(id, indexOf(form, id, plan.bay[bay]));
            updateEnclosure(form, catalogue, bayWord(id, true), -1);
        }
        for (int id = IDC_LABEL_FIRST; id <= IDC_LABEL_LAST; ++id) labels += form.control(id).visible;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// --diff against --plans of the new file alone, in turn.
void benchDiff(const std::string& program, const std::string& folder, const std::string& catalogue,
               const std::string& format, const std::vector<int>& sizes) {
    std::printf("%8s %10s %10s %7s %12s %12s\n", "rows", "plans s", "diff s", "ratio", "plans RSS KB", "diff RSS KB");
    for (int size : sizes) {
        const std::vector<Plan> before = makePlans(size);
        std::vector<Plan> after = before;
        std::mt19937 random(20261209);
        for (std::size_t i = 0; i < after.size(); i += 10) {  // one bay of every tenth enclosure
            std::string& bay = after[i].bay[random() % 16];
            bay = bay == kTypes[0] ? kTypes[1] : kTypes[0];
        }
        std::vector<std::size_t> order(after.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        const std::string oldPath = folder + "/old.csv", newPath = folder + "/new.csv";
        writePlans(oldPath, before);
        writePlans(newPath, after, order);
        std::vector<double> plans, diff;
        long plansRss = 0, diffRss = 0;
        for (int i = 0; i < 5; ++i) {
            const ProgramRun p = runProgram(program, "--plans '" + newPath + "'", catalogue, format);
            const ProgramRun d = runProgram(program, "--diff '" + oldPath + "' '" + newPath + "'", catalogue, format, 1);
            plans.push_back(p.seconds);
            diff.push_back(d.seconds);
            plansRss = std::max(plansRss, p.maxRssKb);
            diffRss = std::max(diffRss, d.maxRssKb);
        }
        const double p = median(plans), d = median(diff);
        std::printf("%8d %10.3f %10.3f %7.2f %12ld %12ld\n", size, p, d, d / p, plansRss, diffRss);
        std::remove(oldPath.c_str());
        std::remove(newPath.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: plans_bench BWMAP [--baseline OLD_BWMAP] [--format FORMAT] [ROWS...]\n");
        return 2;
    }
    const std::string program = argv[1];
    std::string baseline;
    std::string format = "tsv";
    std::vector<int> sizes;
    bool diff = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--diff") diff = true;
        else if ((arg == "--baseline" || arg == "--format") && i + 1 < argc) (arg == "--baseline" ? baseline : format) = argv[++i];
        else sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) sizes = {1000, 10000, 100000};

    char folder[] = "/tmp/plans_bench_XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    const std::string catalogue = std::string(folder) + "/bwplan.ini";
    std::ofstream(catalogue) << kCatalogue;
    CatalogueHooks hooks;
    hooks.fileName = catalogue.c_str();
    BladeCatalogue rows;
    loadCatalogue(rows, hooks);
    if (diff) {
        benchDiff(program, folder, catalogue, format, sizes);
        std::remove(catalogue.c_str());
        rmdir(folder);
        return 0;
    }

    std::printf("%8s %10s %10s %7s %10s %7s %12s %12s %12s\n", "rows", "old s", "bwmap s", "ratio", "logic s", "ratio",
                "bwmap us/row", "old RSS KB", "max RSS KB");
    for (int size : sizes) {
        const std::vector<Plan> plans = makePlans(size);
        const std::string path = std::string(folder) + "/plans.csv";
        writePlans(path, plans);
        const int repetitions = 5;
        std::vector<double> runs;
        std::vector<double> oldRuns;
        std::vector<double> logic;
        long rss = 0;
        long oldRss = 0;
        std::size_t labels = 0;
        for (int i = 0; i < repetitions; ++i) {  // in turn, so drift hits each alike
            if (!baseline.empty()) {
                const ProgramRun old = runProgram(baseline, "--plans '" + path + "'", catalogue, format);
                oldRuns.push_back(old.seconds);
                oldRss = std::max(oldRss, old.maxRssKb);
            }
            const ProgramRun run = runProgram(program, "--plans '" + path + "'", catalogue, format);
            runs.push_back(run.seconds);
            rss = std::max(rss, run.maxRssKb);
            logic.push_back(runLogic(rows, plans, labels));
        }
        const double p = median(runs);
        const double l = median(logic);
        if (baseline.empty()) {
            std::printf("%8d %10s %10.3f %7s %10.3f %7.2f %12.2f %12s %12ld\n", size, "-", p, "-", l, p / l, 1e6 * p / size,
                        "-", rss);
        } else {
            const double o = median(oldRuns);
            std::printf("%8d %10.3f %10.3f %7.2f %10.3f %7.2f %12.2f %12ld %12ld\n", size, o, p, p / o, l, p / l,
                        1e6 * p / size, oldRss, rss);
        }
        std::remove(path.c_str());
        if (labels == 0) std::fprintf(stderr, "plans_bench: no label was shown\n");
    }
    std::remove(catalogue.c_str());
    rmdir(folder);
    return 0;
}
