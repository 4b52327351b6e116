// Blade catalogue: the built-in rows, the catalogue file reader and lookups by name.
#include "catalogue.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Rows 0-6 and the terminator.
const BladeType kBuiltInRows[] = {
    {"empty", 0x0, "", ""},
    {"Tarn", 0x0, "AABB", "1212"},
    {"Tarn +NIC upgrade", ORDER_VARIANT_B, "AABB", "1212"},
    {"Tarn-M2", ORDER_VARIANT_A, "AABB", "1212"},
    {"Tarn-M3", ORDER_VARIANT_C | ENHANCED_ONLY | PORT3_IS_NIC, "AABB", "1212"},
    {"Fell", ENHANCED_ONLY | PORT3_IS_NIC | 0x800000 | SHARE_CLASS, "AB", "11"},
    {"Crag", 0x11 | (4u << kSpanShift), "AABBAB", "121244"},
    {"", 0x0, "", ""},
};
constexpr std::size_t kBuiltInCount = sizeof kBuiltInRows / sizeof kBuiltInRows[0];

// A line of up to 258 characters, newline included, is read whole; longer ones in pieces.
constexpr int kLineBufferSize = 259;

// Counts the lines (pieces) the second pass will read.
std::size_t countLines(std::FILE* file) {
    char line[kLineBufferSize];
    std::size_t count = 0;
    while (std::fgets(line, sizeof line, file) != nullptr) ++count;
    return count;
}

// Removes a line's newline. A piece of an over-long line loses its last character, as every
// line does; a last line without a newline keeps all of its characters.
void dropLineEnd(char* line) {
    const std::size_t length = std::strlen(line);
    if (length == 0) return;
    if (line[length - 1] == '\n' || length == kLineBufferSize - 1) line[length - 1] = '\0';
}

}  // namespace

LineScan parseCatalogueLine(const char* line, BladeType& row) {
    // The first character (the opening quote of a well-formed line) is skipped unread. The %n
    // items only record offsets: they read nothing and add no field.
    LineScan scan;
    if (line[0] == '\0') return scan;
    unsigned int flags = 0;
    int ends[5] = {-1, -1, -1, -1, -1};
    const int fields = std::sscanf(line + 1, "%16[^\"]%n\"%n 0x%x%n %16s%n %16s%n", row.name, &ends[0], &ends[1],
                                   &flags, &ends[2], row.portMap, &ends[3], row.portDigits, &ends[4]);
    row.flags = flags;
    scan.fields = fields < 0 ? 0 : fields;
    // A field that reached the end of the line may leave its offset unset: it ends there.
    const int length = static_cast<int>(std::strlen(line));
    const auto at = [&](int end, bool read) { return end >= 0 ? end + 1 : (read ? length : -1); };
    scan.nameEnd = at(ends[0], scan.fields >= 1);
    scan.quoteEnd = at(ends[1], false);
    scan.flagsEnd = at(ends[2], scan.fields >= 2);
    scan.portMapEnd = at(ends[3], scan.fields >= 3);
    scan.portDigitsEnd = at(ends[4], scan.fields >= 4);
    return scan;
}

std::size_t readCatalogueLines(std::FILE* file, std::size_t maxLines,
                               const std::function<void(const CatalogueLine&)>& visit) {
    char raw[kLineBufferSize];
    char line[kLineBufferSize];
    std::size_t k = 0;
    for (; k < maxLines && std::fgets(raw, sizeof raw, file) != nullptr; ++k) {
        std::memcpy(line, raw, std::strlen(raw) + 1);
        dropLineEnd(line);
        BladeType row;
        std::memset(&row, 0, sizeof row);
        const LineScan scan = parseCatalogueLine(line, row);
        visit(CatalogueLine{k, raw, line, row, scan});
    }
    return k;
}

bool loadCatalogue(BladeCatalogue& catalogue, const CatalogueHooks& hooks) {
    catalogue.rows_ = kBuiltInRows;
    catalogue.rowCount_ = kBuiltInCount;

    std::FILE* file = std::fopen(hooks.fileName, "r");
    if (file == nullptr) return true;

    const std::size_t lines = countLines(file);
    const std::size_t rowCount = lines + kBuiltInCount;  // n + 8
    void* block = hooks.allocateRows ? hooks.allocateRows(rowCount, sizeof(BladeType))
                                     : std::calloc(rowCount, sizeof(BladeType));
    if (block == nullptr) {
        std::fclose(file);
        if (hooks.report) hooks.report("Unable to allocate memory");
        return false;
    }
    auto* rows = static_cast<BladeType*>(block);
    std::memcpy(rows, kBuiltInRows, sizeof kBuiltInRows);

    std::rewind(file);
    readCatalogueLines(file, lines, [&](const CatalogueLine& line) {
        rows[kBuiltInCount - 1 + line.index] = line.row;
        if (hooks.visitLine) hooks.visitLine(line);
    });
    std::fclose(file);

    catalogue.rows_ = rows;
    catalogue.rowCount_ = rowCount;
    return true;
}

void releaseCatalogue(BladeCatalogue& catalogue) {
    if (catalogue.rows_ != nullptr && catalogue.rows_ != kBuiltInRows) std::free(const_cast<BladeType*>(catalogue.rows_));
    catalogue.rows_ = kBuiltInRows;
    catalogue.rowCount_ = kBuiltInCount;
}

// Names are compared eight bytes at a time: the first word (up to and including the text's NUL)
// under a mask, then the rest. A text too long for the name field matches no row.
std::size_t findByName(const BladeCatalogue& catalogue, const char* text, std::size_t firstRow) {
    const std::size_t length = std::strlen(text);
    std::size_t index = firstRow;
    if (length >= kFieldSize) {
        while (catalogue.row(index).name[0] != '\0') ++index;
        return index;
    }
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    const std::size_t head = std::min(length + 1, kWord);
    unsigned char maskBytes[kWord] = {};
    std::memset(maskBytes, 0xFF, head);
    std::uint64_t mask;
    std::memcpy(&mask, maskBytes, kWord);
    std::uint64_t key = 0;
    std::memcpy(&key, text, head);
    for (;; ++index) {
        const char* name = catalogue.row(index).name;
        if (name[0] == '\0') return index;
        std::uint64_t word;
        std::memcpy(&word, name, kWord);
        if (((word ^ key) & mask) != 0) continue;
        if (length < kWord || std::memcmp(name + kWord, text + kWord, length + 1 - kWord) == 0) return index;
    }
}
