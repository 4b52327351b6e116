// Fuzzes bwmap whole: command line, picks, catalogue file and plans file from the fuzzer's bytes,
// through to the output, whose shape is checked: every tsv and csv record has the header's
// number of fields, every JSON line parses, the html page is well formed with no two frames on
// one cell of a sheet's grid, nothing is written when a single enclosure fails.
//
// Input: one control byte (format, plans or picks, options, --check, html, and --delimiter ;
// for a plans file or --list-types for picks), then the
// catalogue file's bytes, a 0xFF byte, and the plans file's bytes or the picks, one per line.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "input/csv_reader.h"
#include "memory_file.h"
#include "cli/run.h"

namespace {

const char* const kFormats[] = {"tsv", "json", "csv", "table"};

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
    check(!all.empty() && (all.back().find(" lines, ") != std::string::npos || all.back().rfind("1 line, ", 0) == 0));
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        const std::string& line = all[i];
        check(line.compare(0, file.size() + 1, file + ":") == 0);
        check(line.find(": warning: ") != std::string::npos || line.find(": error: ") != std::string::npos);
    }
    check((status == BWMAP_FINDINGS) == (all.size() > 1));
}

// UTF-8 without overlong forms, surrogates or control characters other than the line end.
bool cleanUtf8(const std::string& text) {
    static const std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        if ((lead >= 0x80 && lead < 0xC0) || lead >= 0xF8 || i + more >= text.size()) return false;
        std::uint32_t point = more == 0 ? lead : lead & (0x3F >> more);
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = point << 6 | (next & 0x3F);
        }
        if (point < kLeast[more] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
        if ((point < 0x20 && point != '\n') || (point >= 0x7F && point <= 0x9F)) return false;
        i += more + 1;
    }
    return true;
}

// The sheet's grid: 11 rows, 8 columns; "grid-area:row/column/rowEnd/columnEnd" of a placed div.
constexpr int kGridRows = 11, kGridColumns = 8;

// The html page: its fixed head and tail, balanced elements with quoted attributes, no bare "&"
// in the text, every placed div inside the grid, and no cell of one sheet under two frames
// (blades and empty slots).
void checkHtml(const std::string& page) {
    const std::string doctype = "<!DOCTYPE html>\n", tail = "</body>\n</html>\n";
    check(page.compare(0, doctype.size(), doctype) == 0);
    check(page.size() > tail.size() && page.compare(page.size() - tail.size(), tail.size(), tail) == 0);
    check(cleanUtf8(page));
    std::vector<std::string> open;
    bool framed[kGridRows][kGridColumns] = {};
    for (std::size_t i = doctype.size(); i < page.size();) {
        if (page[i] == '&') {
            static const char* const kReferences[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&#39;"};
            const auto at = [&](const char* ref) { return page.compare(i, std::strlen(ref), ref) == 0; };
            check(std::any_of(std::begin(kReferences), std::end(kReferences), at));
            i = page.find(';', i) + 1;
            continue;
        }
        if (page[i] != '<') {
            ++i;
            continue;
        }
        const std::size_t end = page.find('>', i);
        check(end != std::string::npos);
        const std::string tag = page.substr(i + 1, end - i - 1);
        i = end + 1;
        if (tag[0] == '/') {
            check(!open.empty() && open.back() == tag.substr(1));
            open.pop_back();
            continue;
        }
        const std::string name = tag.substr(0, tag.find(' '));
        check(!name.empty() && name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") == std::string::npos);
        std::string cls, style;
        for (std::size_t at = name.size(); at < tag.size();) {
            check(tag[at] == ' ');
            const std::size_t equals = tag.find("=\"", at);
            const std::size_t close = equals == std::string::npos ? equals : tag.find('"', equals + 2);
            check(close != std::string::npos);
            const std::string attribute = tag.substr(at + 1, equals - at - 1);
            const std::string value = tag.substr(equals + 2, close - equals - 2);
            check(!attribute.empty() && attribute.find_first_not_of("abcdefghijklmnopqrstuvwxyz-") == std::string::npos);
            check(value.find('<') == std::string::npos);
            if (attribute == "class") cls = value;
            if (attribute == "style") style = value;
            at = close + 1;
        }
        if (name == "meta") continue;
        if (name == "style") {  // raw text
            i = page.find("</style>", i);
            check(i != std::string::npos);
            i += std::strlen("</style>");
            continue;
        }
        open.push_back(name);
        if (name == "section") std::memset(framed, 0, sizeof framed);
        if (name != "div" || cls == "bays") continue;
        int row, column, rowEnd, columnEnd;
        check(std::sscanf(style.c_str(), "grid-area:%d/%d/%d/%d", &row, &column, &rowEnd, &columnEnd) == 4);
        check(1 <= row && row < rowEnd && rowEnd <= kGridRows + 1);
        check(1 <= column && column < columnEnd && columnEnd <= kGridColumns + 1);
        if (cls != "blade" && cls != "slot") continue;
        for (int r = row; r < rowEnd; ++r)
            for (int c = column; c < columnEnd; ++c) {
                check(!framed[r - 1][c - 1]);
                framed[r - 1][c - 1] = true;
            }
    }
    check(open.empty());
}

// `differs`: the command line holds --find or --verify, whose status 1 says nothing was found
// or the cabling differs.
void checkOutput(const std::string& format, bool plans, bool differs, int status, const std::string& out) {
    check(status == BWMAP_OK || status == BWMAP_ERROR || status == BWMAP_REFUSED ||
          (differs && status == BWMAP_FINDINGS));
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
    } else if (format == "html") {
        checkHtml(out);
    }
}

struct Result {
    int status;
    std::string out, err;
};

Result run(const std::vector<std::string>& args) {
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    char* outBuffer = nullptr;
    char* errBuffer = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = open_memstream(&errBuffer, &errSize);
    const int status = runBwmap(static_cast<int>(argv.size()), argv.data(), out, err);
    std::fclose(out);
    std::fclose(err);
    Result result{status, std::string(outBuffer, outSize), std::string(errBuffer, errSize)};
    std::free(outBuffer);
    std::free(errBuffer);
    return result;
}

// A help or version request (CLI11 acts on "-h" even inside a group such as "-hx") prints that
// text alone, with status 0, whatever else the command line holds.
bool printsHelpOrVersion(const Result& result) {
    static const std::string help = run({"bwmap", "--help"}).out;
    static const std::string version = run({"bwmap", "--version"}).out;
    return result.status == BWMAP_OK && (result.out == help || result.out == version);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned control = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\xFF');
    const std::string catalogueBytes = rest.substr(0, split);
    const std::string second = split == std::string::npos ? "" : rest.substr(split + 1);

    static MemoryFile catalogueFile("catalogue.ini");
    static MemoryFile plansFile("plans.csv");
    catalogueFile.assign(catalogueBytes);
    plansFile.assign(second);

    const std::string format = (control & 64) ? "html" : kFormats[control & 3];
    const bool plans = (control & 4) != 0;
    const bool checking = (control & 32) != 0;
    const auto commandLine = [&](const std::string& catalogue, const std::string& plansPath) {
        if (checking) return std::vector<std::string>{"bwmap", "--check", catalogue};
        std::vector<std::string> args = {"bwmap", "--format", format, "--catalogue", catalogue};
        if (control & 8) args.insert(args.end(), {"--enclosure", "standard"});
        if (control & 16) args.insert(args.end(), {"--os", "windows"});
        if (plans && (control & 128)) args.insert(args.end(), {"--delimiter", ";"});
        if (!plans && (control & 128)) args.push_back("--list-types");
        if (plans) args.insert(args.end(), {"--plans", plansPath});
        else for (const std::string& pick : lines(second)) args.push_back(pick);
        return args;
    };

    const std::vector<std::string> args = commandLine(catalogueFile.path(), plansFile.path());
    const bool differs = std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg.rfind("--find", 0) == 0 || arg.rfind("--verify", 0) == 0;
    });
    const Result result = run(args);
    if (checking) checkFindings(catalogueFile.path(), result.status, result.out);
    else if (!printsHelpOrVersion(result)) checkOutput(format, plans, differs, result.status, result.out);
    return 0;
}
