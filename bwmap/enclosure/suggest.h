// "Did you mean": the selector entries closest to a text that none matches byte for byte.
#pragma once

#include <string>
#include <vector>

// The entries equal to `text` once case and blanks are ignored; when none is, those one edit
// away (a character added, dropped or changed, or two neighbours swapped) on the same terms.
// In the entries' order, each once, UTF-8.
std::vector<std::string> closestEntries(const std::vector<std::string>& entries, const std::string& text);

// `; did you mean "A"?` (or `"A" or "B"`) for the closest entries; empty when there is none.
std::string didYouMean(const std::vector<std::string>& entries, const std::string& text);
