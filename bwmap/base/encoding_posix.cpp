// Outside Windows there is no ANSI code page: 8-bit text is read as Windows-1252.
#include "base/encoding.h"

std::string eightBitToUtf8(const std::string& text) { return windows1252ToUtf8(text); }

std::string catalogueToUtf8(const std::string& text) { return inputToUtf8(text); }

std::string_view outputText(std::string_view text, std::string& scratch) {
    if (isPlainAscii(text) || isValidUtf8(text)) return text;
    scratch = windows1252ToUtf8(std::string(text));
    return scratch;
}
