// Fuzzes bwmap whole: command line, picks, catalogue file and plans file from the fuzzer's bytes,
// through to the output, whose shape is checked: every tsv and csv record has the header's
// number of fields, every JSON line parses, nothing is written when a single enclosure fails.
//
// Input: one control byte (format, plans or picks, options, or --check), then the catalogue
// file's bytes, a 0xFF byte, and the plans file's bytes or the picks, one per line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <unistd.h>

#include "csv_reader.h"
#include "run.h"

namespace {

const char* const kFormats[] = {"tsv", "json", "csv", "table"};

std::string scratchFile(const char* kind) {
    return "/tmp/bwmap_fuzz_" + std::to_string(getpid()) + "_" + kind;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

void check(bool condition) {
    if (!condition) std::abort();
}

// --check: one "FILE:LINE: warning|error: " line per finding, then the summary; status 0 or 1.
void checkFindings(const std::string& file, int status, const std::string& out) {
    check(status == BWMAP_OK || status == BWMAP_FINDINGS);
    const std::vector<std::string> all = lines(out);
    check(!all.empty() && all.back().find(" lines, ") != std::string::npos);
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        const std::string& line = all[i];
        check(line.compare(0, file.size() + 1, file + ":") == 0);
        check(line.find(": warning: ") != std::string::npos || line.find(": error: ") != std::string::npos);
    }
    check((status == BWMAP_FINDINGS) == (all.size() > 1));
}

void checkOutput(const std::string& format, bool plans, int status, const std::string& out) {
    check(status == BWMAP_OK || status == BWMAP_ERROR || status == BWMAP_REFUSED);
    if (!plans && status != BWMAP_OK) check(out.empty());
    if (out.empty()) return;
    if (format == "json") {
        for (const std::string& line : lines(out)) check(nlohmann::json::accept(line));
    } else if (format == "tsv") {
        const std::vector<std::string> all = lines(out);
        const auto fields = [](const std::string& line) { return std::count(line.begin(), line.end(), '\t'); };
        for (const std::string& line : all) check(fields(line) == fields(all[0]));
    } else if (format == "csv") {
        std::FILE* file = fmemopen(const_cast<char*>(out.data()), out.size(), "rb");
        CsvReader reader(file);
        std::vector<std::string> record;
        std::string error;
        std::size_t width = 0;
        while (reader.next(record, error)) {
            check(error.empty());
            if (width == 0) width = record.size();
            check(record.size() == width);
        }
        std::fclose(file);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned control = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\xFF');
    const std::string catalogueBytes = rest.substr(0, split);
    const std::string second = split == std::string::npos ? "" : rest.substr(split + 1);

    static const std::string catalogue = scratchFile("catalogue.ini");
    static const std::string plansFile = scratchFile("plans.csv");
    writeFile(catalogue, catalogueBytes);

    const std::string format = kFormats[control & 3];
    const bool plans = (control & 4) != 0;
    const bool checking = (control & 32) != 0;
    std::vector<std::string> args = {"bwmap", "--format", format, "--catalogue", catalogue};
    if (control & 8) args.insert(args.end(), {"--enclosure", "standard"});
    if (control & 16) args.insert(args.end(), {"--os", "windows"});
    if (checking) {
        args = {"bwmap", "--check", catalogue};
    } else if (plans) {
        writeFile(plansFile, second);
        args.insert(args.end(), {"--plans", plansFile});
    } else {
        for (const std::string& pick : lines(second)) args.push_back(pick);
    }
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());

    char* outBuffer = nullptr;
    std::size_t outSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = std::fopen("/dev/null", "w");
    const int status = runBwmap(static_cast<int>(argv.size()), argv.data(), out, err);
    std::fclose(out);
    std::fclose(err);
    if (checking) checkFindings(catalogue, status, std::string(outBuffer, outSize));
    else checkOutput(format, plans, status, std::string(outBuffer, outSize));
    std::free(outBuffer);
    return 0;
}
