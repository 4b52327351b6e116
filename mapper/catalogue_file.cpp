// Reading the catalogue file: whole, with Windows' text-mode rules, and the flag word.
#include "catalogue_file.h"

#include <cerrno>
#include <cstdio>

namespace {

constexpr std::size_t kLineBufferSize = 259;  // the line buffer, its terminating NUL included
constexpr char kCtrlZ = '\x1A';

int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

}  // namespace

FileRead readWholeFile(const char* path, std::size_t limit, std::string& bytes, int& error) {
    bytes.clear();
    error = 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        error = errno;
        return FileRead::CANNOT_OPEN;
    }
    FileRead result = FileRead::OK;
    char chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got > limit - bytes.size()) {
            bytes.append(chunk, limit - bytes.size());
            result = FileRead::TOO_LARGE;
            break;
        }
        bytes.append(chunk, got);
        if (got < sizeof chunk) {
            if (std::ferror(file)) {
                error = errno;
                result = FileRead::READ_ERROR;
            }
            break;
        }
    }
    std::fclose(file);
    return result;
}

void applyTextMode(std::string& bytes) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < bytes.size(); ++in) {
        const char ch = bytes[in];
        if (ch == kCtrlZ) break;
        if (ch == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') continue;
        bytes[out++] = ch;
    }
    bytes.resize(out);
}

std::size_t lineEnd(std::string_view text, std::size_t from) {
    const std::size_t most = kLineBufferSize - 1;
    const std::size_t newline = text.find('\n', from);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    return end - from > most ? from + most : end;
}

FlagWord readFlagWord(const char* text) {
    FlagWord word;
    const char* p = text;
    while (isCatalogueBlank(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    bool digits = false;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        digits = true;  // the prefix's 0 is a digit of its own
    }
    std::uint64_t magnitude = 0;
    for (int d; (d = hexDigit(*p)) >= 0; ++p) {
        digits = true;
        magnitude = magnitude * 16 + static_cast<unsigned>(d);
        if (magnitude > 0xFFFFFFFFu) {
            word.tooLong = true;
            magnitude = 0xFFFFFFFFu;  // saturated: more digits keep it there
        }
    }
    if (!digits) return word;
    const auto value = static_cast<std::uint32_t>(magnitude);
    word.value = negative ? 0u - value : value;
    word.length = static_cast<std::size_t>(p - text);
    return word;
}
