// Benchmark: loadCatalogue on generated catalogue files of growing size (median of repeated loads).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalogue.h"

namespace {

void* lastBlock = nullptr;
void* allocate(std::size_t count, std::size_t size) { return lastBlock = std::calloc(count, size); }

std::string writeCatalogue(const std::string& folder, std::size_t lines) {
    const std::string path = folder + "/" + std::to_string(lines) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "w");
    for (std::size_t i = 0; i < lines; ++i)
        std::fprintf(file, "\"Blade %zu\" 0x%x AABBAB 121244\n", i, static_cast<unsigned>(0x800000 | (i & 0xFF)));
    std::fclose(file);
    return path;
}

double medianLoadMs(const std::string& path, int repetitions) {
    CatalogueHooks hooks;
    hooks.fileName = path.c_str();
    hooks.allocateRows = allocate;
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        BladeCatalogue catalogue;
        const auto start = std::chrono::steady_clock::now();
        const bool loaded = loadCatalogue(catalogue, hooks);
        const auto end = std::chrono::steady_clock::now();
        if (!loaded) std::abort();
        std::free(lastBlock);
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    // The files go to a folder of this run's own, removed at the end.
    const char* temp = std::getenv("TMPDIR");
    std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/catalogue_bench_XXXXXX";
    if (mkdtemp(&folder[0]) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    std::printf("%10s %12s %14s\n", "lines", "median ms", "ns per line");
    for (std::size_t lines : {12500u, 25000u, 50000u, 100000u, 200000u}) {
        const std::string path = writeCatalogue(folder, lines);
        medianLoadMs(path, 2);  // warm the page cache
        const double ms = medianLoadMs(path, 21);
        std::printf("%10zu %12.2f %14.1f\n", lines, ms, ms * 1e6 / static_cast<double>(lines));
        std::remove(path.c_str());
    }
    rmdir(folder.c_str());
    return 0;
}
