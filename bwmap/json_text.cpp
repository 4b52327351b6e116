// JSON strings and numbers appended to a buffer without building a document.
#include "json_text.h"

#include <nlohmann/json.hpp>

namespace {

bool plainAscii(const std::string& text) {
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

}  // namespace

void appendJsonString(std::string& out, const std::string& text) {
    if (!plainAscii(text)) {
        out += nlohmann::ordered_json(text).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        return;
    }
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char ch : text) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                out += "\\u00";
                out += kHex[(ch >> 4) & 0xF];
                out += kHex[ch & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

void appendJsonStringOrNull(std::string& out, const std::string& text) {
    if (text.empty()) out += "null";
    else appendJsonString(out, text);
}

void appendJsonNumber(std::string& out, int number) { out += std::to_string(number); }
