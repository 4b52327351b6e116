// JSON strings and numbers appended to a buffer without building a document.
#include "writers/json_text.h"

#include <charconv>

#include <nlohmann/json.hpp>

void appendJsonString(std::string& out, std::string_view text) {
    if (!isPlainAscii(text)) {
        out += nlohmann::ordered_json(std::string(text)).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        return;
    }
    out += '"';
    // Runs that need no escape are appended whole.
    static const char kHex[] = "0123456789abcdef";
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch != '"' && ch != '\\' && static_cast<unsigned char>(ch) >= 0x20) continue;
        out.append(text.data() + run, i - run);
        run = i + 1;
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            out += "\\u00";
            out += kHex[(ch >> 4) & 0xF];
            out += kHex[ch & 0xF];
        }
    }
    out.append(text.data() + run, text.size() - run);
    out += '"';
}

void appendJsonStringOrNull(std::string& out, std::string_view text) {
    if (text.empty()) out += "null";
    else appendJsonString(out, text);
}

void appendJsonNumber(std::string& out, int number) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

void appendJsonString(std::string& out, std::string_view text, ToUtf8 toUtf8) {
    if (isPlainAscii(text)) appendJsonString(out, text);
    else appendJsonString(out, toUtf8(std::string(text)));
}

void appendJsonStringOrNull(std::string& out, std::string_view text, ToUtf8 toUtf8) {
    if (text.empty()) out += "null";
    else appendJsonString(out, text, toUtf8);
}
