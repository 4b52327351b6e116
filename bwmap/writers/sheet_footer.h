// The footer of each page of the html sheet: program and version, the run's date, the catalogue
// and, for a plans file, the row's line.
#pragma once

#include <cstdint>
#include <string>

// What the footer says besides the row's line, the same on every page of one run.
struct SheetFacts {
    std::string date;       // "2026-12-08 22:52:28 UTC"
    std::string catalogue;  // "bwplan.ini, SHA-256 0123456789ab", or "built-in types only"
    std::string plansFile;  // the plans file's name as given; empty for a single enclosure
};

// The date of the run: `sourceDateEpoch` (SOURCE_DATE_EPOCH's value, nullptr or empty when it is
// not set) or else `now`, in seconds since 1970. False with a message when the value is set but
// not a decimal count of seconds up to the year 9999.
bool sheetDate(const char* sourceDateEpoch, std::int64_t now, std::string& date, std::string& error);
// The same as seconds since 1970, for other reports of the run.
bool runSeconds(const char* sourceDateEpoch, std::int64_t now, std::int64_t& seconds, std::string& error);
// Seconds since 1970 (0 up to the end of 9999) as "YYYY-MM-DD HH:MM:SS UTC".
std::string utcText(std::int64_t seconds);
// The same as ISO 8601 without a zone, "YYYY-MM-DDTHH:MM:SS", as JUnit reports write it.
std::string isoUtcText(std::int64_t seconds);

// The catalogue as the footer names it: `path` and the first 12 hex digits of the SHA-256 of
// `bytes`, the file's contents as the catalogue read them; "built-in types only" when no file
// was read (`bytes` nullptr).
std::string catalogueFact(const std::string& path, const std::string* bytes);

// Appends the footer; `line` is the plans row's line, 0 for a single enclosure.
void appendSheetFooter(std::string& out, const SheetFacts& facts, long line);
