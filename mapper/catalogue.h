// The blade catalogue: built-in blade types and the rows of the catalogue file "bwplan.ini".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

enum BladeFlags : std::uint32_t {
    BAY_MASK = 0xFF,                // upper bays that offer the type; 0 means all eight
    ORDER_VARIANT_A = 0x100,        // Windows NIC order, variant A
    ORDER_VARIANT_B = 0x200,        // Windows NIC order, variant B (wins over A)
    ORDER_VARIANT_C = 0x400,        // NIC order when the OS is not Windows
    OS_DEPENDENT_ORDER = 0x700,     // any of the three order variants
    ENHANCED_ONLY = 0x4000,
    PORT3_IS_NIC = 0x8000,
    SPAN = 0x3F0000,                // count of columns occupied, from bit 16
    HALF_HEIGHT = 0xC00000,         // either bit
    SHARE_CLASS = 0x1000000,
    GROUP4_CLASS = 0x4000000,
};
constexpr int kSpanShift = 16;

constexpr std::size_t kFieldSize = 24;  // fixed-width, NUL-terminated text fields

// One catalogue row. Plain fixed-width record: rows are copied and compared byte for byte.
struct BladeType {
    char name[kFieldSize];
    std::uint32_t flags;
    char portMap[kFieldSize];     // switch letter per port; its length is the port count
    char portDigits[kFieldSize];  // hexadecimal switch-port digit per port
};

// How far the scanning format got on one line. Offsets count from the line's start; -1 for an
// item the scan did not reach.
struct LineScan {
    int fields = 0;             // fields read: name, flags, portMap, portDigits, in this order
    int nameEnd = -1;           // just past the name
    int quoteEnd = -1;          // just past the closing quote
    int flagsEnd = -1;
    int portMapEnd = -1;
    int portDigitsEnd = -1;
    bool flagsTooLong = false;  // the flag word's digits do not fit in 32 bits
};

// One line of the catalogue file as the reader handled it (a piece of an over-long line counts
// as a line of its own).
struct CatalogueLine {
    std::size_t index;    // from 0; the line fills catalogue row 7 + index
    std::string_view raw;  // as read, with its newline when it had one (NUL bytes included)
    const char* text;     // as parsed: without its last character (the newline)
    const BladeType& row;
    LineScan scan;
};

// What loadCatalogue needs of its surroundings; tests replace the pieces.
struct CatalogueHooks {
    const char* fileName = "bwplan.ini";  // nullptr: no file
    // The file's bytes when the caller has read them already (a pipe cannot be read twice).
    const std::string* fileBytes = nullptr;
    // Zero-filled allocation of count rows that std::free can give back; nullptr on failure.
    void* (*allocateRows)(std::size_t count, std::size_t size) = nullptr;  // nullptr: calloc
    // Shows a failure to the user; returns when the user has seen it.
    void (*report)(const char* text) = nullptr;
    // Called with every line the filling pass parses, in file order; may be empty.
    std::function<void(const CatalogueLine&)> visitLine;
};

// The program-wide, read-only table: row 0 "empty", rows 1-6 built in, the file's rows, and a
// terminator whose name is empty.
class BladeCatalogue {
public:
    const BladeType& row(std::size_t index) const { return rows_[index]; }
    // Number of rows including the terminator.
    std::size_t rowCount() const { return rowCount_; }
    const BladeType* rows() const { return rows_; }
    // Told apart from every other load (and from the table a release leaves): what a form
    // remembers of one catalogue's rows is keyed by it, never by an address that may be reused.
    std::uint64_t serial() const { return serial_; }

private:
    friend bool loadCatalogue(BladeCatalogue&, const CatalogueHooks&);
    friend void releaseCatalogue(BladeCatalogue&);
    friend class OwnedCatalogue;
    const BladeType* rows_ = nullptr;
    std::size_t rowCount_ = 0;
    std::uint64_t serial_ = 0;  // 0 until loaded
};

// Builds the catalogue once. On an allocation failure reports "Unable to allocate memory"
// through hooks.report and returns false. The block allocated for file rows lives until the
// program ends.
bool loadCatalogue(BladeCatalogue& catalogue, const CatalogueHooks& hooks = CatalogueHooks{});

// Gives back the block that loadCatalogue allocated for file rows and leaves the built-in table.
// For tools and tests that are done with a catalogue; the mapper keeps its own until it ends.
// Copies of the catalogue must not be used afterwards.
void releaseCatalogue(BladeCatalogue& catalogue);

// A catalogue that gives its rows back when it goes: for tools and tests that load one for a
// while. Moved, never copied.
class OwnedCatalogue : public BladeCatalogue {
public:
    OwnedCatalogue() = default;
    OwnedCatalogue(OwnedCatalogue&& other) noexcept : BladeCatalogue(other) {
        other.rows_ = nullptr;
        other.rowCount_ = 0;
        other.serial_ = 0;
    }
    OwnedCatalogue(const OwnedCatalogue&) = delete;
    OwnedCatalogue& operator=(const OwnedCatalogue&) = delete;
    OwnedCatalogue& operator=(OwnedCatalogue&&) = delete;
    ~OwnedCatalogue() { releaseCatalogue(*this); }
};

// Index of the first row from `firstRow` whose name equals `text` exactly; the terminator's
// index when none does (walks stop at the first empty name).
std::size_t findByName(const BladeCatalogue& catalogue, const char* text, std::size_t firstRow);

// Parses one catalogue-file line (its newline already removed) into a zeroed row; says how far
// the scan got.
LineScan parseCatalogueLine(const char* line, BladeType& row);

// The lines of a file's text (text-mode rules applied), as loadCatalogue counts them.
std::size_t countCatalogueLines(std::string_view text);

// Reads up to maxLines lines of the text as loadCatalogue's filling pass does, handing each
// parsed line to `visit`; returns the number read.
std::size_t readCatalogueLines(std::string_view text, std::size_t maxLines,
                               const std::function<void(const CatalogueLine&)>& visit);
