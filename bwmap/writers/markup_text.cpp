// Text in markup: the character data and attribute values of HTML and XML, whose characters
// XML 1.0 takes (no C0 or C1 control but tab and line ends, no U+FFFE or U+FFFF).
#include "writers/markup_text.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// The byte count of the character at `i` that markup cannot hold, with what stands for it in
// `instead`; 0 when the byte at `i` can stay.
std::size_t unfitAt(const std::string& utf8, std::size_t i, const char*& instead) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    instead = kReplacement;
    if (b == '\t' || b == '\n' || b == '\r') {
        instead = " ";
        return 1;
    }
    if (b < 0x20 || b == 0x7F) return 1;
    if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) return 2;  // U+0080-U+009F
    if (b == 0xEF && (utf8.compare(i + 1, 2, "\xBF\xBE") == 0 || utf8.compare(i + 1, 2, "\xBF\xBF") == 0)) return 3;
    return 0;
}

}  // namespace

void appendHtmlText(std::string& out, const std::string& utf8) {
    // Runs of bytes that stand for themselves are appended whole.
    const auto plain = [](unsigned char b) {
        return b >= 0x20 && b != 0x7F && b != 0xC2 && b != 0xEF && b != '&' && b != '<' && b != '>' && b != '"' && b != '\'';
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        std::size_t run = i;
        while (run < utf8.size() && plain(static_cast<unsigned char>(utf8[run]))) ++run;
        if (run > i) {
            out.append(utf8, i, run - i);
            i = run - 1;
            continue;
        }
        switch (utf8[i]) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '"': out += "&quot;"; continue;
        case '\'': out += "&#39;"; continue;
        default: break;
        }
        const char* instead = nullptr;
        const std::size_t unfit = unfitAt(utf8, i, instead);
        if (unfit == 0) {
            out += utf8[i];
            continue;
        }
        out += instead;
        i += unfit - 1;
    }
}

std::string markupCharacters(const std::string& utf8) {
    std::string kept;
    kept.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char* instead = nullptr;
        const std::size_t unfit = unfitAt(utf8, i, instead);
        if (unfit == 0) {
            kept += utf8[i];
            continue;
        }
        kept += instead;
        i += unfit - 1;
    }
    return kept;
}

bool isPlainHtml(std::string_view text) {
    for (const char ch : text)
        if (ch < 0x20 || ch == 0x7F || ch == '&' || ch == '<' || ch == '>' || ch == '"' || ch == '\'') return false;
    return true;
}

void appendHtmlText(std::string& out, const std::string& text, ToUtf8 toUtf8) {
    if (isPlainAscii(text)) appendHtmlText(out, text);
    else appendHtmlText(out, toUtf8(text));
}
