// Parsing of picks and of the enclosure type and OS values.
#include "input/picks.h"

#include <cctype>

#include "form.h"

namespace {

std::string lowerCase(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// A decimal number of one or two digits without a sign or leading zero; -1 otherwise.
int smallNumber(const std::string& text) {
    if (text.empty() || text.size() > 2 || text[0] == '0') return -1;
    int value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return -1;
        value = value * 10 + (ch - '0');
    }
    return value;
}

}  // namespace

std::string printable(const std::string& text) {
    std::string out = text;
    for (char& ch : out) ch = printableByte(ch);
    return out;
}

std::optional<Pick> parsePick(const std::string& text, std::string& error) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        error = "\"" + printable(text) + "\" is not a pick: write N=TYPE (bay 1-16) or osC=OS (column 1-8)";
        return std::nullopt;
    }
    const std::string key = text.substr(0, equals);
    Pick pick;
    pick.text = text.substr(equals + 1);
    const bool columnOs = key.size() > 2 && lowerCase(key.substr(0, 2)) == "os";
    pick.kind = columnOs ? Pick::COLUMN_OS : Pick::BAY;
    pick.number = smallNumber(columnOs ? key.substr(2) : key);
    const int highest = columnOs ? 8 : 16;
    if (pick.number < 1 || pick.number > highest) {
        error = "\"" + printable(text) + "\": " + (columnOs ? "the column" : "the bay") + " must be a number from 1 to " +
                std::to_string(highest);
        return std::nullopt;
    }
    return pick;
}

int parseEnclosure(const std::string& text) {
    const std::string value = lowerCase(text);
    if (value == "standard") return ENCLOSURE_STANDARD;
    if (value == "enhanced") return ENCLOSURE_ENHANCED;
    return -1;
}

int parseOs(const std::string& text) {
    const std::string value = lowerCase(text);
    if (value == "windows") return OS_WINDOWS;
    if (value == "linux") return OS_LINUX;
    return -1;
}
