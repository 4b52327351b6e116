// UTF-8 checks and the Windows-1252 table, shared by every platform.
#include "base/encoding.h"

#include <cstdint>
#include <iterator>

namespace {

// Code points of bytes 0x80-0x9F in Windows-1252.
const std::uint16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char b = *p++;
        if (b < 0x80) continue;
        int more;
        std::uint32_t cp;
        if (b >= 0xC2 && b <= 0xDF) { more = 1; cp = b & 0x1F; }
        else if (b >= 0xE0 && b <= 0xEF) { more = 2; cp = b & 0x0F; }
        else if (b >= 0xF0 && b <= 0xF4) { more = 3; cp = b & 0x07; }
        else return false;
        if (end - p < more) return false;
        for (int i = 0; i < more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        p += more;
        if ((more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
    }
    return true;
}

bool isPlainAscii(std::string_view text) {
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

std::string windows1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : b);
    }
    return out;
}

std::string inputToUtf8(const std::string& text) {
    return isValidUtf8(text) ? text : eightBitToUtf8(text);
}

namespace {

struct Range {
    std::uint32_t first, last;
};

bool within(const Range* ranges, std::size_t count, std::uint32_t cp) {
    for (std::size_t i = 0; i < count; ++i)
        if (cp >= ranges[i].first && cp <= ranges[i].last) return true;
    return false;
}

const Range kCombining[] = {{0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A},
                            {0x064B, 0x065F}, {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x200B, 0x200F},
                            {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}};
const Range kWide[] = {{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF},
                       {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
                       {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F},
                       {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD}};

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    bool ascii = true;
    for (char ch : utf8) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    if (ascii || !isValidUtf8(utf8)) return utf8.size();
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        std::uint32_t cp = more == 0 ? lead : lead & (0x3F >> more);
        for (std::size_t k = 1; k <= more; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += more + 1;
        if (within(kCombining, std::size(kCombining), cp)) continue;
        width += within(kWide, std::size(kWide), cp) ? 2 : 1;
    }
    return width;
}
