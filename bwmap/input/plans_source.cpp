// Encoding, separator and export noise of a plans file, found from its first block.
#include "input/plans_source.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "base/encoding.h"

namespace {

constexpr std::size_t kBlock = 1 << 16;

bool startsWith(const std::string& bytes, const char* prefix, std::size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), prefix, size) == 0;
}

// What a file that is no text export looks like, from its first bytes; empty for text.
std::string signature(const std::string& raw) {
    struct Known {
        const char* bytes;
        std::size_t size;
        const char* what;
    };
    static const Known kKnown[] = {
        {"\xFF\xFE\0\0", 4, "UTF-32 text (little-endian, by its byte-order mark): save it as UTF-8 or UTF-16"},
        {"\0\0\xFE\xFF", 4, "UTF-32 text (big-endian, by its byte-order mark): save it as UTF-8 or UTF-16"},
        {"PK\x03\x04", 4, "a zip archive, such as an .xlsx workbook, not a CSV export: save the sheet as CSV"},
        {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8, "an .xls workbook or another compound document, not a CSV export: save the sheet as CSV"},
        {"\x1F\x8B", 2, "a gzip archive, not a CSV export: unpack it first"},
        {"%PDF-", 5, "a PDF document, not a CSV export"},
    };
    for (const Known& known : kKnown)
        if (startsWith(raw, known.bytes, known.size)) return known.what;
    if (raw.size() >= 2 && raw[0] != '\0' && raw[1] == '\0')
        return "UTF-16 text (little-endian) without a byte-order mark: save it with one, or as UTF-8";
    if (raw.size() >= 2 && raw[0] == '\0' && raw[1] != '\0')
        return "UTF-16 text (big-endian) without a byte-order mark: save it with one, or as UTF-8";
    return {};
}

// "sep=X" with X a comma, semicolon or tab, perhaps followed by separators a spreadsheet added.
bool sepLine(const std::string& line, char& separator) {
    if (line.size() < 5 || (line.compare(0, 4, "sep=") != 0 && line.compare(0, 4, "SEP=") != 0)) return false;
    separator = line[4];
    if (separator != ',' && separator != ';' && separator != '\t') return false;
    return line.find_first_not_of(",;\t", 5) == std::string::npos;
}

bool typeLine(const std::string& line) {
    if (line.size() < 5 || line[0] != '#') return false;
    for (std::size_t i = 1; i < 5; ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != "#TYPE"[i]) return false;
    return line.size() == 5 || line[5] == ' ';
}

// The separator that the header line uses most outside quotes; a comma when none does.
char countedSeparator(const std::string& line) {
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"') quoted = !quoted;
        if (quoted) continue;
        commas += ch == ',';
        semicolons += ch == ';';
        tabs += ch == '\t';
    }
    if (semicolons > commas && semicolons >= tabs) return ';';
    if (tabs > commas && tabs > semicolons) return '\t';
    return ',';
}

}  // namespace

std::string PlansSource::open(char separator) {
    std::string raw(kBlock, '\0');
    const std::size_t size = std::fread(&raw[0], 1, raw.size(), file_);
    raw.resize(size);
    if (size < kBlock) {
        ended_ = true;
        failed_ = std::ferror(file_) != 0;
    }
    std::size_t skip = 0;
    if (startsWith(raw, "\xEF\xBB\xBF", 3)) {
        encoding_ = UTF8_BOM;
        skip = 3;
    } else if (startsWith(raw, "\xFF\xFE", 2) && !startsWith(raw, "\xFF\xFE\0\0", 4)) {
        encoding_ = UTF16_LE;
        skip = 2;
    } else if (startsWith(raw, "\xFE\xFF", 2)) {
        encoding_ = UTF16_BE;
        skip = 2;
    } else {
        const std::string what = signature(raw);
        if (!what.empty()) return "the file is " + what;
    }
    if (encoding_ == UTF16_LE || encoding_ == UTF16_BE)
        decode(reinterpret_cast<const unsigned char*>(raw.data()) + skip, raw.size() - skip, ended_);
    else
        pending_ = raw.substr(skip);

    char fromSepLine = 0;
    bool typeSkipped = false;
    for (;;) {
        const std::size_t eol = pending_.find('\n', pendingPos_);
        std::string line = pending_.substr(pendingPos_, eol == std::string::npos ? std::string::npos : eol - pendingPos_);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        char given = 0;
        if (fromSepLine == 0 && !typeSkipped && sepLine(line, given)) fromSepLine = given;
        else if (!typeSkipped && typeLine(line)) typeSkipped = true;
        else {
            for (std::size_t i = 0; i < line.size(); ++i) {
                const auto byte = static_cast<unsigned char>(line[i]);
                if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
                    char code[8];
                    std::snprintf(code, sizeof code, "0x%02X", byte);
                    return "the header holds the control byte " + std::string(code) +
                           ": the file looks like binary data, not a CSV export";
                }
            }
            separator_ = separator != 0 ? separator : fromSepLine != 0 ? fromSepLine : countedSeparator(line);
            return {};
        }
        pendingPos_ = eol == std::string::npos ? pending_.size() : eol + 1;
        ++headerLine_;
    }
}

void PlansSource::decode(const unsigned char* bytes, std::size_t size, bool last) {
    carry_.append(reinterpret_cast<const char*>(bytes), size);
    const auto* p = reinterpret_cast<const unsigned char*>(carry_.data());
    const bool little = encoding_ == UTF16_LE;
    const auto unit = [&](std::size_t at) -> std::uint32_t {
        return little ? (p[at] | p[at + 1] << 8) : (p[at] << 8 | p[at + 1]);
    };
    std::size_t at = 0;
    const std::size_t whole = carry_.size() & ~std::size_t(1);
    while (at < whole) {
        const std::uint32_t first = unit(at);
        if (first >= 0xD800 && first <= 0xDBFF) {
            if (at + 4 > whole && !last) break;  // its pair is in the next block
            const std::uint32_t second = at + 4 <= whole ? unit(at + 2) : 0;
            if (second >= 0xDC00 && second <= 0xDFFF) {
                appendUtf8(pending_, 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00));
                at += 4;
                continue;
            }
            appendUtf8(pending_, 0xFFFD);  // an unpaired surrogate
        } else {
            appendUtf8(pending_, first >= 0xDC00 && first <= 0xDFFF ? 0xFFFD : first);
        }
        at += 2;
    }
    carry_.erase(0, at);
    if (last && !carry_.empty()) {
        appendUtf8(pending_, 0xFFFD);  // an odd byte at the end
        carry_.clear();
    }
}

bool PlansSource::decodeMore() {
    unsigned char raw[kBlock];
    const std::size_t size = std::fread(raw, 1, sizeof raw, file_);
    if (size < sizeof raw) {
        ended_ = true;
        failed_ = std::ferror(file_) != 0;
    }
    decode(raw, size, ended_);
    return size > 0 || !pending_.empty();
}

std::size_t PlansSource::read(char* out, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        if (pendingPos_ < pending_.size()) {
            const std::size_t n = std::min(size - total, pending_.size() - pendingPos_);
            std::memcpy(out + total, pending_.data() + pendingPos_, n);
            pendingPos_ += n;
            total += n;
            continue;
        }
        pending_.clear();
        pendingPos_ = 0;
        if (ended_ || total > 0) break;
        if (encoding_ == UTF16_LE || encoding_ == UTF16_BE) {
            if (!decodeMore()) break;
            continue;
        }
        const std::size_t n = std::fread(out, 1, size, file_);
        if (n < size) {
            ended_ = true;
            failed_ = std::ferror(file_) != 0;
        }
        return n;
    }
    return total;
}
