// Closest entries by case, blanks and one edit, compared character by character.
#include "enclosure/suggest.h"

#include <algorithm>
#include <cstdint>

#include "base/encoding.h"
#include "input/picks.h"

namespace {

constexpr std::size_t kMostShown = 3;

// The text's characters without blanks, ASCII letters in lower case.
std::u32string folded(const std::string& text) {
    const std::string utf8 = inputToUtf8(text);
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t more = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        std::uint32_t cp = more == 0 ? lead : lead & (0x3F >> more);
        for (std::size_t k = 1; k <= more && i + k < utf8.size(); ++k)
            cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += more + 1;
        if (cp == ' ' || cp == '\t' || cp == 0xA0) continue;
        out += cp >= 'A' && cp <= 'Z' ? cp + ('a' - 'A') : cp;
    }
    return out;
}

// Whether a becomes b by one insertion, deletion, substitution or swap of neighbours.
bool oneEditApart(const std::u32string& a, const std::u32string& b) {
    if (a == b) return false;
    const std::u32string& longer = a.size() >= b.size() ? a : b;
    const std::u32string& shorter = a.size() >= b.size() ? b : a;
    if (longer.size() - shorter.size() > 1) return false;
    std::size_t head = 0;
    while (head < shorter.size() && longer[head] == shorter[head]) ++head;
    if (longer.size() != shorter.size()) return longer.compare(head + 1, std::u32string::npos, shorter, head) == 0;
    if (longer.compare(head + 1, std::u32string::npos, shorter, head + 1) == 0) return true;
    return head + 1 < shorter.size() && longer[head] == shorter[head + 1] && longer[head + 1] == shorter[head] &&
           longer.compare(head + 2, std::u32string::npos, shorter, head + 2) == 0;
}

}  // namespace

std::vector<std::string> closestEntries(const std::vector<std::string>& entries, const std::string& text) {
    const std::u32string wanted = folded(text);
    std::vector<std::string> same, near;
    const auto add = [](std::vector<std::string>& list, const std::string& entry) {
        if (std::find(list.begin(), list.end(), entry) == list.end()) list.push_back(entry);
    };
    for (const std::string& entry : entries) {
        const std::u32string candidate = folded(entry);
        if (candidate.empty()) continue;
        if (candidate == wanted) add(same, catalogueToUtf8(entry));
        else if (oneEditApart(candidate, wanted)) add(near, catalogueToUtf8(entry));
    }
    return same.empty() ? near : same;
}

std::string didYouMean(const std::vector<std::string>& entries, const std::string& text) {
    const std::vector<std::string> closest = closestEntries(entries, text);
    if (closest.empty()) return {};
    std::string out = "; did you mean ";
    for (std::size_t i = 0; i < closest.size() && i < kMostShown; ++i) {
        if (i > 0) out += i + 1 == std::min(closest.size(), kMostShown) ? " or " : ", ";
        out += "\"" + printable(closest[i]) + "\"";
    }
    return out + "?";
}
