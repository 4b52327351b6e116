// Blade catalogue: the built-in rows, the catalogue file reader and lookups by name.
#include "catalogue.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "catalogue_file.h"

namespace {

constexpr std::size_t kLinePieceSize = 258;  // the most characters the line buffer takes

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

// Removes a line's newline. A piece of an over-long line loses its last character, as every
// line does; a last line without a newline keeps all of its characters.
void dropLineEnd(char* line) {
    const std::size_t length = std::strlen(line);
    if (length == 0) return;
    if (line[length - 1] == '\n' || length == kLinePieceSize) line[length - 1] = '\0';
}

}  // namespace

LineScan parseCatalogueLine(const char* line, BladeType& row) {
    // The first character (the opening quote of a well-formed line) is skipped unread. The %n
    // items only record offsets: they read nothing and add no field.
    LineScan scan;
    if (line[0] == '\0') return scan;
    // The scanning format is "%16[^\"]\" 0x%x %16s %16s"; the flag word is read by readFlagWord,
    // so that a word too long for 32 bits reads the same on every platform.
    const char* text = line + 1;
    int ends[5] = {-1, -1, -1, -1, -1};
    int fields = std::sscanf(text, "%16[^\"]%n\"%n", row.name, &ends[0], &ends[1]);
    fields = fields < 0 ? 0 : fields;
    if (fields == 1 && ends[1] >= 0) {
        int at = ends[1];
        while (isCatalogueBlank(text[at])) ++at;
        const FlagWord word = text[at] == '0' && text[at + 1] == 'x' ? readFlagWord(text + at + 2) : FlagWord{};
        if (word.length > 0) {
            row.flags = word.value;
            scan.flagsTooLong = word.tooLong;
            ++fields;
            ends[2] = at + 2 + static_cast<int>(word.length);
            const char* rest = text + ends[2];
            int restEnds[2] = {-1, -1};
            const int more = std::sscanf(rest, " %16s%n %16s%n", row.portMap, &restEnds[0], row.portDigits, &restEnds[1]);
            fields += more < 0 ? 0 : more;
            for (int k = 0; k < 2; ++k)
                if (restEnds[k] >= 0) ends[3 + k] = ends[2] + restEnds[k];
        }
    }
    scan.fields = fields;
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

std::size_t countCatalogueLines(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at = lineEnd(text, at)) ++count;
    return count;
}

std::size_t readCatalogueLines(std::string_view text, std::size_t maxLines,
                               const std::function<void(const CatalogueLine&)>& visit) {
    char line[kLinePieceSize + 1];
    std::size_t k = 0;
    for (std::size_t at = 0; k < maxLines && at < text.size(); ++k) {
        const std::size_t end = lineEnd(text, at);
        const std::string_view raw = text.substr(at, end - at);
        raw.copy(line, raw.size());
        line[raw.size()] = '\0';  // a NUL byte inside ends the text sooner
        dropLineEnd(line);
        BladeType row;
        std::memset(&row, 0, sizeof row);
        const LineScan scan = parseCatalogueLine(line, row);
        visit(CatalogueLine{k, raw, line, row, scan});
        at = end;
    }
    return k;
}

namespace {

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

}  // namespace

bool loadCatalogue(BladeCatalogue& catalogue, const CatalogueHooks& hooks) {
    catalogue.rows_ = kBuiltInRows;
    catalogue.rowCount_ = kBuiltInCount;
    catalogue.serial_ = nextSerial();

    std::string read;
    const std::string* bytes = hooks.fileBytes;
    try {
        if (bytes == nullptr) {
            if (hooks.fileName == nullptr) return true;
            int error = 0;
            // A read error ends the file where it happened.
            if (readWholeFile(hooks.fileName, SIZE_MAX, read, error) == FileRead::CANNOT_OPEN) return true;
            bytes = &read;
        }
        if (bytes != &read) read = *bytes;
        applyTextMode(read);
    } catch (const std::bad_alloc&) {
        if (hooks.report) hooks.report("Unable to allocate memory");
        return false;
    }

    const std::size_t lines = countCatalogueLines(read);
    const std::size_t rowCount = lines + kBuiltInCount;  // n + 8
    void* block = hooks.allocateRows ? hooks.allocateRows(rowCount, sizeof(BladeType))
                                     : std::calloc(rowCount, sizeof(BladeType));
    if (block == nullptr) {
        if (hooks.report) hooks.report("Unable to allocate memory");
        return false;
    }
    auto* rows = static_cast<BladeType*>(block);
    std::memcpy(rows, kBuiltInRows, sizeof kBuiltInRows);

    readCatalogueLines(read, lines, [&](const CatalogueLine& line) {
        rows[kBuiltInCount - 1 + line.index] = line.row;
        if (hooks.visitLine) hooks.visitLine(line);
    });

    catalogue.rows_ = rows;
    catalogue.rowCount_ = rowCount;
    catalogue.serial_ = nextSerial();
    return true;
}

void releaseCatalogue(BladeCatalogue& catalogue) {
    if (catalogue.rows_ != nullptr && catalogue.rows_ != kBuiltInRows) std::free(const_cast<BladeType*>(catalogue.rows_));
    catalogue.rows_ = kBuiltInRows;
    catalogue.rowCount_ = kBuiltInCount;
    catalogue.serial_ = nextSerial();
}

// Names are compared eight bytes at a time: the first word (up to and including the text's NUL)
// under a mask, then the rest of a longer text byte by byte.
std::size_t findByName(const BladeCatalogue& catalogue, const char* text, std::size_t firstRow) {
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    unsigned char keyBytes[kWord] = {};
    unsigned char maskBytes[kWord] = {};
    bool longText = true;  // no NUL in the first word
    for (std::size_t i = 0; i < kWord && longText; ++i) {
        keyBytes[i] = static_cast<unsigned char>(text[i]);
        maskBytes[i] = 0xFF;
        longText = text[i] != '\0';
    }
    std::uint64_t key;
    std::uint64_t mask;
    std::memcpy(&key, keyBytes, kWord);
    std::memcpy(&mask, maskBytes, kWord);
    for (std::size_t index = firstRow;; ++index) {
        const char* name = catalogue.row(index).name;
        if (name[0] == '\0') return index;
        std::uint64_t word;
        std::memcpy(&word, name, kWord);
        if (((word ^ key) & mask) != 0) continue;
        if (!longText) return index;
        const char* wanted = text + kWord;
        for (name += kWord; *name != '\0' && *name == *wanted; ++name, ++wanted) {}
        if (*name == *wanted) return index;
    }
}
