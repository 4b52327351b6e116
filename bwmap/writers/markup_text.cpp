// Text in markup: the character data and attribute values of HTML and XML, whose characters
// XML 1.0 takes (no C0 or C1 control but tab and line ends, no U+FFFE or U+FFFF).
#include "writers/markup_text.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Appends the byte at `i`, or for a character there that markup cannot hold what stands for it;
// returns the bytes taken.
std::size_t appendKept(std::string& out, const std::string& utf8, std::size_t i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::size_t unfit = 0;
    if (b == '\t' || b == '\n' || b == '\r') {
        out += ' ';
        return 1;
    }
    if (b < 0x20 || b == 0x7F) unfit = 1;
    else if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) unfit = 2;  // U+0080-U+009F
    else if (b == 0xEF && (utf8.compare(i + 1, 2, "\xBF\xBE") == 0 || utf8.compare(i + 1, 2, "\xBF\xBF") == 0)) unfit = 3;
    if (unfit == 0) {
        out += utf8[i];
        return 1;
    }
    out += kReplacement;
    return unfit;
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
        i += appendKept(out, utf8, i) - 1;
    }
}

std::string markupCharacters(const std::string& utf8) {
    std::string kept;
    kept.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) i += appendKept(kept, utf8, i);
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
