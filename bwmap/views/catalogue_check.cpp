// bwmap --check: every finding is decided from what the window's reader produced for a line (its
// row, how far the scan got) and from the label and population rules; the raw line is read only
// to quote it in a message.
#include "views/catalogue_check.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "catalogue.h"
#include "catalogue_file.h"
#include "base/encoding.h"
#include "labels.h"
#include "input/picks.h"
#include "population.h"
#include "rules.h"

namespace {

constexpr std::size_t kFirstFileRow = 7;  // the first file line fills this catalogue row
constexpr int kMaxScannedField = 16;      // the reader's width for name, portMap and portDigits
constexpr std::uint32_t kKnownFlags = BAY_MASK | OS_DEPENDENT_ORDER | ENHANCED_ONLY | PORT3_IS_NIC | SPAN |
                                      HALF_HEIGHT | SHARE_CLASS | GROUP4_CLASS;

// One line (or piece of an over-long line) as the reader handled it.
struct Piece {
    std::string raw;
    std::string text;
    BladeType row;
    LineScan scan;
    std::size_t line = 0;    // file line, from 1
    std::size_t offset = 0;  // characters of the same file line in earlier pieces
};

// A piece that holds its newline ends its file line (a piece may be empty: a NUL byte ends it).
bool endsLine(const std::string& raw) { return !raw.empty() && raw.back() == '\n'; }

bool isBlank(char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; }
bool endsWord(char ch) { return ch == '\0' || isBlank(ch); }
bool blankText(const std::string& text) {
    for (char ch : text)
        if (!isBlank(ch)) return false;
    return true;
}

// Text in double quotes, as UTF-8 where the file's bytes are not, control bytes shown as '?'.
std::string inQuotes(const std::string& text) { return "\"" + inputToUtf8(printable(text)) + "\""; }

// The word starting at `from`: up to the next blank or the end of the text.
std::string wordAt(const std::string& text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && !isBlank(text[end])) ++end;
    return text.substr(from, end - from);
}

std::size_t skipBlanks(const std::string& text, std::size_t from) {
    while (from < text.size() && isBlank(text[from])) ++from;
    return from;
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

// "3", "3-5", "1, 3 and 5-6" for ascending numbers.
std::string numberList(const std::vector<int>& numbers) {
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        parts.push_back(std::to_string(numbers[i]) + (j > i ? "-" + std::to_string(numbers[j]) : ""));
        i = j + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return out;
}

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

class Checker {
public:
    Checker(const BladeCatalogue& catalogue, const std::vector<Piece>& pieces, CatalogueReport& report)
        : catalogue_(catalogue), pieces_(pieces), report_(report) {}

    void run() {
        report_.lines = pieces_.empty() ? 0 : pieces_.back().line;
        report_.types = pieces_.size();
        for (std::size_t p = 0; p < pieces_.size(); ++p) {
            piece_ = &pieces_[p];
            index_ = p;
            overLong();
            nulByte();
            if (piece_->row.name[0] == '\0') {
                catalogueEnds();
                report_.types = p;
                return;
            }
            firstCharacter();
            if (!nameAndFlags()) continue;
            portFields();
            portLabels();
            orderFlags();
            labelRows();
            span();
            sameName();
            eightBit();
        }
    }

private:
    const BladeType& row() const { return piece_->row; }
    const std::string& text() const { return piece_->text; }

    void add(bool error, const std::string& message) {
        // A piece after the first of an over-long line is a line of its own to the window.
        const std::string where = piece_->offset > 0
                                      ? "from character " + std::to_string(piece_->offset + 1) + " (read as a line of its own): "
                                      : "";
        report_.findings.push_back({piece_->line, error, where + message});
    }
    void warn(const std::string& message) { add(false, message); }

    void overLong() {
        if (piece_->offset > 0) return;
        std::size_t length = 0, count = 0;
        for (std::size_t p = index_; p < pieces_.size() && pieces_[p].line == piece_->line; ++p, ++count)
            length += pieces_[p].raw.size();
        if (count < 2) return;
        if (endsLine(pieces_[index_ + count - 1].raw)) --length;
        warn("the line is " + std::to_string(length) +
             " characters long; the window reads at most 257 characters and the newline as one line, so it reads "
             "this line as " + std::to_string(count) + " lines");
    }

    // The window's text of a line ends at a NUL byte; the rest of the piece is never looked at.
    void nulByte() {
        const std::string& raw = piece_->raw;
        const std::size_t at = raw.find('\0');
        if (at == std::string::npos) return;
        const std::size_t end = endsLine(raw) ? raw.size() - 1 : raw.size();
        warn("a NUL byte at character " + std::to_string(piece_->offset + at + 1) +
             " ends the line for the window; it ignores " + inQuotes(raw.substr(at, end - at)));
    }

    // The reader gave this line an empty name: the window's catalogue ends here.
    void catalogueEnds() {
        std::size_t lastText = 0;  // the last file line with anything but blanks
        for (const Piece& piece : pieces_)
            if (!blankText(piece.text)) lastText = piece.line;
        const bool blank = blankText(text());
        if (blank && lastText <= piece_->line) return;  // blank lines at the end hide nothing
        std::string why = blank ? "the line is empty" : "the name is empty";
        if (!blank && text()[0] != '"')
            why += " (the first character, " + inQuotes(text().substr(0, 1)) + ", is skipped as if it were the opening quote)";
        if (lastText <= piece_->line) {
            warn(why + ", so the window lists no type for it");
            return;
        }
        const std::size_t first = piece_->line + 1;
        const std::string hidden = first == lastText ? "line " + std::to_string(first)
                                                     : "lines " + std::to_string(first) + "-" + std::to_string(lastText);
        add(true, why + ", so the catalogue ends here; " + hidden + (first == lastText ? " is" : " are") +
                      " never read");
    }

    void firstCharacter() {
        if (text()[0] == '"') return;
        warn("the line does not start with a double quote: the window skips its first character, " +
             inQuotes(text().substr(0, 1)) + ", as if it were one, and reads the name " + inQuotes(row().name));
    }

    // The name up to the closing quote and the flags; false when the scan stopped in them.
    bool nameAndFlags() {
        const LineScan& scan = piece_->scan;
        if (scan.quoteEnd < 0) {
            if (std::strlen(row().name) == kMaxScannedField && text()[scan.nameEnd] != '\0') {
                const std::size_t close = text().find('"', 1);
                const std::string written = text().substr(1, close == std::string::npos ? std::string::npos : close - 1);
                warn(inQuotes(written) + " is longer than 16 characters; the window shows " + inQuotes(row().name) +
                     " and reads no flags or ports");
            } else {
                warn("the name " + inQuotes(row().name) + " has no closing quote; the window reads no flags or ports");
            }
            return false;
        }
        const std::size_t flagsAt = skipBlanks(text(), static_cast<std::size_t>(scan.quoteEnd));
        if (scan.fields < 2) {
            if (flagsAt == text().size())
                warn("the line ends after the name; the window reads flags 0 and no ports");
            else
                warn("the flags " + inQuotes(wordAt(text(), flagsAt)) +
                     " are not written as 0x and a hexadecimal number; the window reads flags 0 and no ports");
            return false;
        }
        if (isBlank(text()[flagsAt + 2]))
            warn("\"0x\" is followed by a blank, so the window reads the next word, " +
                 inQuotes(wordAt(text(), skipBlanks(text(), flagsAt + 2))) + ", as the flags (" + hex(row().flags) + ")");
        if (!endsWord(text()[scan.flagsEnd]))
            warn("the flags " + inQuotes(wordAt(text(), flagsAt)) + " go on after the hexadecimal number; the window reads flags " +
                 hex(row().flags) + " and takes " + inQuotes(wordAt(text(), scan.flagsEnd)) + " as portMap");
        if (scan.flagsTooLong)
            warn("the flags " + inQuotes(wordAt(text(), flagsAt)) + " do not fit in 32 bits; the window reads flags " +
                 hex(row().flags));
        if (row().flags & ~kKnownFlags)
            warn("flag bits " + hex(row().flags & ~kKnownFlags) + " have no meaning; the window ignores them");
        return true;
    }

    // Fields cut at 16 characters and text after portDigits.
    void portFields() {
        const LineScan& scan = piece_->scan;
        cutField_ = false;
        if (scan.fields >= 3 && !endsWord(text()[scan.portMapEnd])) {
            cutField_ = true;
            warn("portMap " + inQuotes(wordAt(text(), scan.portMapEnd - kMaxScannedField)) +
                 " is longer than 16 characters; the window reads " + inQuotes(row().portMap) + " as portMap and " +
                 inQuotes(row().portDigits) + " as portDigits");
        }
        if (scan.fields >= 4 && !endsWord(text()[scan.portDigitsEnd])) {
            cutField_ = true;
            warn("portDigits " + inQuotes(wordAt(text(), scan.portDigitsEnd - kMaxScannedField)) +
                 " is longer than 16 characters; the window reads " + inQuotes(row().portDigits));
        }
        if (scan.fields >= 4 && !cutField_) {
            const std::size_t rest = skipBlanks(text(), static_cast<std::size_t>(scan.portDigitsEnd));
            if (rest < text().size()) warn(inQuotes(text().substr(rest)) + " after portDigits is ignored");
        }
    }

    // Ports that show "?" for their switch port, asked of the label rules: in port order (no
    // order flags) and in a Standard enclosure, where every port is labelled.
    void portLabels() {
        const std::size_t ports = portCount(row());
        const std::size_t digits = std::strlen(row().portDigits);
        if (ports == 0 || cutField_) return;
        BladeType inPortOrder = row();
        inPortOrder.flags &= ~static_cast<std::uint32_t>(OS_DEPENDENT_ORDER);
        std::vector<int> missing;
        std::string example;
        char nic = 'A';
        for (std::size_t k = 0; k < ports; ++k) {
            const std::string label = portLabel(inPortOrder, 0, false, OS_LINUX, ENCLOSURE_STANDARD, static_cast<int>(k), nic);
            if (label.compare(1, 2, "-?") != 0) continue;
            const std::string shown = label.substr(0, label.find(','));
            if (k < digits) {
                warn("port " + std::to_string(k + 1) + " shows " + inQuotes(shown) + ": " +
                     inQuotes(std::string(1, row().portDigits[k])) + " is not a hexadecimal digit");
            } else {
                missing.push_back(static_cast<int>(k + 1));
                if (example.empty()) example = shown;
            }
        }
        if (digits > ports)
            warn("portDigits " + inQuotes(row().portDigits) + " has " + plural(digits, "digit", "digits") + " for " +
                 plural(ports, "port", "ports") + "; the window ignores the rest");
        else if (!missing.empty())
            warn("portMap " + inQuotes(row().portMap) + " has " + plural(ports, "port", "ports") + " but " +
                 (digits == 0 ? std::string("there is no portDigits")
                              : "portDigits " + inQuotes(row().portDigits) + " " + plural(digits, "digit", "digits")) + "; " +
                 (missing.size() == 1 ? "port " : "ports ") + numberList(missing) +
                 (missing.size() == 1 ? " shows" : " show") + " \"?\" for the switch port (" +
                 inQuotes(example) + ")");
    }

    void orderFlags() {
        const std::uint32_t order = row().flags & OS_DEPENDENT_ORDER;
        if (order == 0 || orderFlagsApply(row())) return;
        const std::size_t ports = portCount(row());
        warn("the order flags (" + hex(order) + ") rearrange the first four ports, but the type has " +
             (ports == 0 ? std::string("none") : std::to_string(ports)) +
             "; the window enumerates its ports in port order");
    }

    // Labels that a bay's rows cannot hold, asked of the label pass itself.
    void labelRows() {
        const int enclosure = (row().flags & ENHANCED_ONLY) ? ENCLOSURE_ENHANCED : ENCLOSURE_STANDARD;
        cutLabels(false, enclosure, enclosure == ENCLOSURE_STANDARD ? "a Standard" : "an Enhanced");
        bool lowerBay = false;
        for (int c = 0; c < ids::kColumns; ++c) lowerBay = lowerBay || offeredInLowerBay(row(), c);
        if (lowerBay) cutLabels(true, ENCLOSURE_ENHANCED, "an Enhanced");  // only Enhanced shows lower bays
    }

    void cutLabels(bool lowerBay, int enclosure, const char* enclosureName) {
        const std::size_t ports = portCount(row());
        std::size_t labelled = 0, shown = 0;
        char nic = 'A';
        for (std::size_t k = 0; k < ports; ++k)
            if (!portLabel(row(), 0, lowerBay, OS_LINUX, enclosure, static_cast<int>(k), nic).empty()) ++labelled;
        forEachBayLabel(row(), 0, lowerBay, OS_LINUX, enclosure, [&](int, std::string_view) { ++shown; });
        if (shown >= labelled) return;
        warn(std::string(lowerBay ? "in a lower bay" : "in an upper bay") + " of " + enclosureName + " enclosure the type has " +
             plural(labelled, "labelled port", "labelled ports") + ", but the bay shows " + std::to_string(shown) +
             " labels; " + (labelled - shown == 1 ? std::string("the last one gets none")
                                                  : "the last " + std::to_string(labelled - shown) + " get none"));
    }

    void span() {
        const int columns = spanColumns(row());
        std::vector<int> bays;
        for (int c = 0; c < ids::kColumns; ++c)
            if (offeredInUpperBay(row(), c) && c + columns > ids::kColumns) bays.push_back(c + 1);
        if (bays.empty()) return;
        warn("a span of " + std::to_string(columns) + " columns from " + (bays.size() == 1 ? "bay " : "bays ") +
             numberList(bays) + ", which its BAY_MASK allows, reaches past the eighth column; the window ends it at bay 8");
    }

    void sameName() {
        const std::size_t rowIndex = kFirstFileRow + index_;
        const std::size_t found = findByName(catalogue_, row().name, 0);
        if (found >= rowIndex) return;
        if (found == 0) {
            warn("the name " + inQuotes(row().name) + " is the empty bay's: choosing this type empties the bay");
        } else if (found < kFirstFileRow) {
            warn(inQuotes(row().name) + " is already a built-in type; the window lists this row too, but choosing it gives "
                 "the built-in type");
        } else {
            warn(inQuotes(row().name) + " is already the name of line " +
                 std::to_string(pieces_[found - kFirstFileRow].line) +
                 "; the window lists this row too, but choosing it gives that line's type");
        }
    }

    void eightBit() {
        const std::string name = row().name;
        for (char ch : name)
            if (static_cast<unsigned char>(ch) >= 0x80) {
                warn("the name has 8-bit characters; the window shows them through the Windows code page, as \"" +
                     windows1252ToUtf8(name) + "\" in Western European (Windows-1252)");
                return;
            }
    }

    const BladeCatalogue& catalogue_;
    const std::vector<Piece>& pieces_;
    CatalogueReport& report_;
    const Piece* piece_ = nullptr;
    std::size_t index_ = 0;
    bool cutField_ = false;
};

// Windows' text mode ends the file at a Ctrl-Z byte: an error when anything but blanks follows.
void ctrlZ(const std::string& bytes, CatalogueReport& report) {
    const std::size_t at = bytes.find('\x1A');
    if (at == std::string::npos) return;
    std::size_t rest = at + 1;
    while (rest < bytes.size() && isBlank(bytes[rest])) ++rest;
    if (rest == bytes.size()) return;
    std::string before = bytes.substr(0, at);
    applyTextMode(before);
    const std::size_t lineStart = before.rfind('\n') + 1;  // 0 when there is no newline
    const std::size_t line = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
    report.findings.push_back({line, true, "a Ctrl-Z byte at character " + std::to_string(before.size() - lineStart + 1) +
                                               " ends the file for the window; nothing after it is read"});
}

// The checked catalogue's rows: unlike the window's, they are freed once the check is done.
void* checkedRows = nullptr;
void* allocateCheckedRows(std::size_t count, std::size_t size) { return checkedRows = std::calloc(count, size); }

}  // namespace

bool checkCatalogue(const std::string& bytes, CatalogueReport& report) {
    std::vector<Piece> pieces;
    std::size_t line = 0;
    std::size_t offset = 0;
    CatalogueHooks hooks;
    hooks.fileBytes = &bytes;
    hooks.allocateRows = allocateCheckedRows;
    hooks.visitLine = [&](const CatalogueLine& read) {
        Piece piece{std::string(read.raw), read.text, read.row, read.scan};
        if (pieces.empty() || endsLine(pieces.back().raw)) {
            ++line;
            offset = 0;
        }
        piece.line = line;
        piece.offset = offset;
        offset += piece.raw.size();
        pieces.push_back(std::move(piece));
    };
    BladeCatalogue catalogue;
    if (!loadCatalogue(catalogue, hooks)) return false;
    report = CatalogueReport{};
    Checker(catalogue, pieces, report).run();
    ctrlZ(bytes, report);
    std::free(checkedRows);
    checkedRows = nullptr;
    return true;
}

void appendCatalogueReport(std::string& out, const std::string& name, const CatalogueReport& report) {
    std::size_t errors = 0;
    for (const CatalogueFinding& finding : report.findings) {
        errors += finding.error ? 1 : 0;
        out += name + ":" + std::to_string(finding.line) + (finding.error ? ": error: " : ": warning: ") +
               finding.message + "\n";
    }
    // The words stay in one order, singular for a count of 1: "1 line, 6 types, 0 warnings, 1 error".
    const auto count = [](std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
    out += count(report.lines, "line") + ", " + count(report.types, "type") + ", " +
           count(report.findings.size() - errors, "warning") + ", " + count(errors, "error") + "\n";
}
