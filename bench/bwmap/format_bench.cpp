// Benchmark: bwmap's html format against tsv for the same plans file of 1,000 enclosures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/run.h"

namespace {

constexpr int kEnclosures = 1000;
constexpr int kRepetitions = 15;

// Enclosures of different shapes, in turn: full, half-height pairs, spanning, Standard, sparse.
const char* const kRows[] = {
    "enhanced,windows,Fell,Tarn-M2,,,Crag,,,,Fell,,,,,,,,linux",
    "enhanced,linux,Fell,Fell,Tarn-M3,Tarn,Tarn-M2,Tarn +NIC upgrade,Tarn,Tarn,Fell,Fell,,,,,,,",
    "enhanced,linux,Crag,,,,Crag,,,,,,,,,,,,",
    "standard,windows,Tarn,Tarn +NIC upgrade,Tarn-M2,Tarn,Tarn,Tarn,Tarn-M2,Tarn,,,,,,,,,",
    "enhanced,linux,,Tarn-M2,,,,,,,,,,,,,,,",
};

bool writePlans(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    std::fputs("name,enclosure,os,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,os2\n", file);
    for (int i = 0; i < kEnclosures; ++i)
        std::fprintf(file, "rack-%04d,%s\n", i, kRows[i % (sizeof kRows / sizeof kRows[0])]);
    return std::fclose(file) == 0;
}

struct Result {
    double ms;
    long bytes;
    int status;
};

// One run of bwmap writing to outPath; its messages go to `err`.
Result runOnce(const char* format, const char* plans, const char* outPath, std::FILE* err) {
    const char* argv[] = {"bwmap", "--format", format, "--plans", plans, "--catalogue", "/dev/null"};
    std::FILE* out = std::fopen(outPath, "wb");
    if (out == nullptr) return {0, -1, -1};
    const auto start = std::chrono::steady_clock::now();
    const int status = runBwmap(7, argv, out, err);
    const auto end = std::chrono::steady_clock::now();
    const long bytes = std::ftell(out);
    std::fclose(out);
    return {std::chrono::duration<double, std::milli>(end - start).count(), bytes, status};
}

double median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const std::string plans = dir + "/format_bench_plans.csv";
    const std::string out = dir + "/format_bench_out";
    if (!writePlans(plans.c_str())) {
        std::fprintf(stderr, "cannot write %s\n", plans.c_str());
        return 1;
    }
    std::FILE* err = std::tmpfile();
    if (err == nullptr) return 1;
    // The two formats take turns, so that a busy machine slows both alike.
    Result tsv{}, html{};
    std::vector<double> tsvTimes, htmlTimes;
    for (int i = 0; i < kRepetitions; ++i) {
        tsv = runOnce("tsv", plans.c_str(), out.c_str(), err);
        html = runOnce("html", plans.c_str(), out.c_str(), err);
        if (tsv.status != 0 || html.status != 0) break;
        tsvTimes.push_back(tsv.ms);
        htmlTimes.push_back(html.ms);
    }
    std::fclose(err);
    std::remove(plans.c_str());
    std::remove(out.c_str());
    if (tsv.status != 0 || html.status != 0) {
        std::fprintf(stderr, "bwmap failed: tsv status %d, html status %d\n", tsv.status, html.status);
        return 1;
    }
    tsv.ms = median(tsvTimes);
    html.ms = median(htmlTimes);
    std::printf("%d enclosures, median of %d runs\n", kEnclosures, kRepetitions);
    std::printf("tsv   %8.1f ms  %9ld bytes\n", tsv.ms, tsv.bytes);
    std::printf("html  %8.1f ms  %9ld bytes  (%.2f x tsv time, %.1f x tsv size)\n", html.ms, html.bytes,
                html.ms / tsv.ms, static_cast<double>(html.bytes) / static_cast<double>(tsv.bytes));
    return 0;
}
