// The picks and option values of bwmap's command line and plans files.
#pragma once

#include <optional>
#include <string>

// A user's pick: a bay selector entry (bay 1-16) or a column OS selector entry (column 1-8).
struct Pick {
    enum Kind { BAY, COLUMN_OS } kind = BAY;
    int number = 0;    // the bay or the column, counted from 1
    std::string text;  // the entry text as given
};

// Parses "N=TYPE" (bay 1-16) or "osC=OS" (column 1-8). On failure returns nothing and sets
// `error` to a one-line message.
std::optional<Pick> parsePick(const std::string& text, std::string& error);

// A user's text for a one-line message: control characters (a NUL or a line end from a plans
// file) shown as '?', so the line is neither cut nor broken.
std::string printable(const std::string& text);
// One byte as printable() shows it.
inline char printableByte(char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? '?' : ch; }

// "standard"/"enhanced" and "windows"/"linux", in any case; -1 for anything else.
int parseEnclosure(const std::string& text);
int parseOs(const std::string& text);
