// Comparing the short texts of the form (entries, labels, type names) without a library call.
#pragma once

#include <cstddef>
#include <string_view>

inline bool sameShortText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Whether `text` equals the NUL-terminated `name` (a catalogue field).
inline bool sameAsName(std::string_view text, const char* name) {
    std::size_t i = 0;
    for (; i < text.size(); ++i)
        if (name[i] == '\0' || name[i] != text[i]) return false;
    return name[i] == '\0';
}
