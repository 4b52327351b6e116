// Text from the catalogue file and from plans files turned into UTF-8 for output and matching.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

bool isValidUtf8(std::string_view text);
// Appends the code point `cp` (at most U+10FFFF, no surrogate) as UTF-8.
void appendUtf8(std::string& out, std::uint32_t cp);
// No byte above 0x7F: text that every conversion below keeps as it is.
bool isPlainAscii(std::string_view text);
// One of the conversions below, for writers that skip it for plain ASCII.
using ToUtf8 = std::string (*)(const std::string&);
// Each byte as the Windows-1252 character it stands for (the five unassigned bytes as the
// control characters of the same value, as Windows reads them).
std::string windows1252ToUtf8(const std::string& text);

// 8-bit text of the platform's own code page as UTF-8: on Windows the ANSI code page, elsewhere
// Windows-1252.
std::string eightBitToUtf8(const std::string& text);
// A catalogue text as UTF-8: on Windows converted from the ANSI code page (as the window shows
// it); elsewhere kept when it is valid UTF-8, otherwise read as Windows-1252.
std::string catalogueToUtf8(const std::string& text);
// Text that a user typed or a plans file holds: kept when it is valid UTF-8, otherwise 8-bit.
std::string inputToUtf8(const std::string& text);
// A cell as the table, tsv and csv formats write it: on Windows as it is (8-bit text stays in
// the ANSI code page, which the window shows and a spreadsheet opens a CSV file in), elsewhere
// UTF-8 (valid UTF-8 kept, 8-bit text read as Windows-1252, at most three bytes a byte).
// Returns `text`, or `scratch` holding the converted text.
std::string_view outputText(std::string_view text, std::string& scratch);

// The columns a terminal gives UTF-8 text: two for wide (East Asian) characters, none for
// combining marks, one for any other character or control byte. Text that is not UTF-8 is
// 8-bit text: one column a byte.
std::size_t displayWidth(std::string_view utf8);
