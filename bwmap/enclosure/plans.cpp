// The plans file: a header naming the columns, then one enclosure per row.
#include "enclosure/plans.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <unordered_set>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "input/csv_reader.h"
#include "enclosure/name_index.h"
#include "enclosure/names.h"
#include "input/picks.h"
#include "input/plans_source.h"
#include "base/status.h"
#include "enclosure/suggest.h"
#include "base/file_access.h"

namespace {

constexpr int kBays = 16;
constexpr int kColumns = 8;

// Where each known column stands in the file's rows; -1 when the file has none.
struct Layout {
    int name = -1;
    int enclosure = -1;
    int os = -1;
    int bay[kBays + 1];
    int columnOs[kColumns + 1];
    int host[kBays + 1];
    int switchHost[256];  // by the switch letter, upper case
    std::vector<unsigned char> switchLetters;  // the letters with a column, in byte order
    bool names = false;   // any host or switch column
    std::vector<int> extra;                // the columns the formats do not know, in order
    std::vector<std::string> extraNames;   // their header cells, without surrounding blanks
    std::vector<bool> blank;               // header cells that are empty
    std::size_t width = 0;

    Layout() {
        std::fill(bay, bay + kBays + 1, -1);
        std::fill(columnOs, columnOs + kColumns + 1, -1);
        std::fill(host, host + kBays + 1, -1);
        std::fill(switchHost, switchHost + 256, -1);
    }
};

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::string trimmedLowerCase(const std::string& text) {
    std::string out = trimmed(text);
    for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// The slot a header cell names; nullptr for an unknown name.
int* slotFor(Layout& layout, const std::string& cell) {
    const std::string name = trimmedLowerCase(cell);
    if (name == "name") return &layout.name;
    if (name == "enclosure") return &layout.enclosure;
    if (name == "os") return &layout.os;
    const NameKey key = parseNameKey(name);
    if (key.kind == NameKey::HOST) return key.bay > 0 ? &layout.host[key.bay] : nullptr;
    if (key.kind == NameKey::SWITCH) return &layout.switchHost[static_cast<unsigned char>(key.letter)];
    std::string error;
    const std::optional<Pick> pick = parsePick(name + "=", error);
    if (!pick) return nullptr;
    return pick->kind == Pick::BAY ? &layout.bay[pick->number] : &layout.columnOs[pick->number];
}

bool allDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Why a header name that is no known column is still not a further column: a bay, a column OS
// or a host out of range. Empty when it is a further column.
std::string outOfRange(const std::string& name) {
    if (allDigits(name) || parseNameKey(name).kind == NameKey::HOST) return "the bay must be a number from 1 to 16";
    if (name.size() > 2 && name.compare(0, 2, "os") == 0 && allDigits(name.substr(2)))
        return "the column must be a number from 1 to 8";
    return {};
}

// The known column a header name stands for once blanks, '_' and '-' are dropped, a "bay" before
// a bay's number and leading zeros too ("Bay 1" is 1, "host 01" is host1); empty when none or
// when it is already that column's name.
std::string meantColumn(const std::string& name) {
    std::string packed;
    for (const char ch : name)
        if (ch != ' ' && ch != '\t' && ch != '_' && ch != '-') packed += ch;
    if (packed.compare(0, 3, "bay") == 0) packed.erase(0, 3);
    const auto number = [&](std::size_t from, int last) {
        const std::string digits = packed.substr(from);
        if (!allDigits(digits) || digits.size() > 4) return std::string();
        const int n = std::stoi(digits);
        return n >= 1 && n <= last ? std::to_string(n) : std::string();
    };
    std::string meant;
    if (allDigits(packed)) meant = number(0, kBays);
    else if (packed.compare(0, 4, "host") == 0 && !number(4, kBays).empty()) meant = "host" + number(4, kBays);
    else if (packed.compare(0, 2, "os") == 0 && !number(2, kColumns).empty()) meant = "os" + number(2, kColumns);
    else if (packed.size() == 7 && packed.compare(0, 6, "switch") == 0 && std::isalnum(static_cast<unsigned char>(packed[6])))
        meant = packed.substr(0, 6) + static_cast<char>(std::toupper(static_cast<unsigned char>(packed[6])));
    return meant == name ? std::string() : meant;
}

// The separator of the header's other cells when its cells hold one that is not `separator`; 0 when none.
char otherSeparator(const std::vector<std::string>& header, char separator) {
    for (const char other : {';', ',', '\t'})
        if (other != separator)
            for (const std::string& cell : header)
                if (cell.find(other) != std::string::npos) return other;
    return 0;
}

// Reads the header; an empty string when it is good, else the message.
std::string readLayout(const std::vector<std::string>& header, const std::string& letters, char separator,
                       Layout& layout) {
    std::unordered_set<std::string> further;  // lower case, to find a name given twice
    layout.blank.assign(header.size(), false);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = trimmedLowerCase(header[i]);
        const std::string column = "column \"" + printable(header[i]) + "\"";
        if (name.empty()) {
            layout.blank[i] = true;
            continue;
        }
        const NameKey key = parseNameKey(name);
        if (key.kind == NameKey::SWITCH && letters.find(key.letter) == std::string::npos)
            return column + ": no blade type uses switch " + printable(std::string(1, key.letter));
        layout.names = layout.names || key.kind != NameKey::NONE;
        int* slot = slotFor(layout, header[i]);
        if (slot == nullptr) {
            const std::string range = outOfRange(name);
            const std::string meant = meantColumn(name);
            if (!meant.empty()) return column + (range.empty() ? "" : ": " + range) + ": did you mean \"" + meant + "\"?";
            if (!range.empty()) return column + ": " + range;
            if (!further.insert(name).second) return column + " is named twice";
            layout.extra.push_back(static_cast<int>(i));
            layout.extraNames.push_back(trimmed(header[i]));
            continue;
        }
        if (*slot >= 0) return column + " is named twice";
        *slot = static_cast<int>(i);
    }
    if (layout.name < 0) {
        const char other = otherSeparator(header, separator);
        if (other == 0) return "the header has no \"name\" column";
        const std::string word = other == '\t' ? "tab" : other == ';' ? "\";\"" : ",";
        return std::string("the header has no \"name\" column, but its cells hold ") +
               (other == '\t' ? "tabs" : other == ';' ? "\";\"" : "\",\"") +
               ": if they separate the cells, choose that separator with --delimiter " + word;
    }
    for (int letter = 0; letter < 256; ++letter)
        if (layout.switchHost[letter] >= 0) layout.switchLetters.push_back(static_cast<unsigned char>(letter));
    layout.width = header.size();
    return {};
}

using Problems = std::vector<PickResult>;

void inputError(Problems& problems, std::string message) {
    problems.push_back({PickResult::INPUT_ERROR, std::move(message)});
}

// The row's cells line up with the header: as many, more when the further ones are empty, or
// fewer when those missing stand under empty header cells (a spreadsheet's trailing columns);
// nothing under a header cell that is empty.
bool checkShape(const std::vector<std::string>& cells, const Layout& layout, Problems& problems) {
    std::size_t needed = layout.width;
    while (needed > 0 && layout.blank[needed - 1]) --needed;
    bool misfit = cells.size() < needed;
    for (std::size_t i = layout.width; i < cells.size() && !misfit; ++i) misfit = !cells[i].empty();
    if (misfit) {
        inputError(problems, "the row has " + std::to_string(cells.size()) + " cells, the header " +
                                 std::to_string(layout.width));
        return false;
    }
    for (std::size_t i = 0; i < layout.width && i < cells.size(); ++i)
        if (layout.blank[i] && !cells[i].empty())
            inputError(problems, "column " + std::to_string(i + 1) + " has no name in the header but holds \"" +
                                     printable(cells[i]) + "\"");
    return true;
}

// One row: a fresh form, the enclosure type and default OS, bays 1-16, then the column OS
// cells. Every problem is noted, and the row goes on to the next cell after each.
void mapRow(const std::vector<std::string>& cells, const Layout& layout, const PlansDefaults& defaults,
            EnclosureSession& session, EnclosureNames& names, Problems& problems) {
    if (!checkShape(cells, layout, problems)) return;
    const auto cell = [&](int column) -> const std::string& { return cells[static_cast<std::size_t>(column)]; };
    if (cell(layout.name).empty()) inputError(problems, "the name is empty");

    int enclosureType = defaults.enclosureType;
    if (layout.enclosure >= 0 && !cell(layout.enclosure).empty()) {
        const int parsed = parseEnclosure(cell(layout.enclosure));
        if (parsed < 0)
            inputError(problems, "enclosure \"" + printable(cell(layout.enclosure)) + "\" is neither Standard nor Enhanced" +
                                     didYouMean({"Standard", "Enhanced"}, cell(layout.enclosure)));
        else enclosureType = parsed;
    }
    int defaultOs = defaults.defaultOs;
    if (layout.os >= 0 && !cell(layout.os).empty()) {
        const int parsed = parseOs(cell(layout.os));
        if (parsed < 0)
            inputError(problems, "os \"" + printable(cell(layout.os)) + "\" is neither Windows nor Linux" +
                                     didYouMean({"Windows", "Linux"}, cell(layout.os)));
        else defaultOs = parsed;
    }
    session.start(enclosureType, defaultOs);

    // A refusal names where it happened: "bay 3: ...", "column 2: ...".
    bool failedBay[kBays + 1] = {};
    const auto place = [&](Pick::Kind kind, int number, int column) {
        if (column < 0 || cell(column).empty()) return;
        PickResult result = session.pick(kind, number, cell(column));
        if (result.status == PickResult::REFUSED)
            result.message = (kind == Pick::BAY ? "bay " : "column ") + std::to_string(number) + ": " + result.message;
        if (result.status == PickResult::DONE) return;
        if (kind == Pick::BAY) failedBay[number] = true;
        problems.push_back(std::move(result));
    };
    for (int bay = 1; bay <= kBays; ++bay) place(Pick::BAY, bay, layout.bay[bay]);
    for (int column = 1; column <= kColumns; ++column) {
        const int at = layout.columnOs[column];
        // The map is the same under both: such a cell changes nothing the window shows.
        if (at >= 0 && parseOs(cell(at)) >= 0 && session.sameOrderUnderEveryOs(column)) continue;
        place(Pick::COLUMN_OS, column, at);
    }
    bool undone = false;  // a later pick undid an earlier one, whose bay is then empty
    if (problems.empty()) {
        std::string cleared = session.unheldPick();
        undone = !cleared.empty();
        if (undone) problems.push_back({PickResult::REFUSED, std::move(cleared)});
    }

    names.clear();
    const auto name = [&](NameKey key, int column) {
        if (column < 0) return;
        const std::string keyText = key.kind == NameKey::HOST ? "host" + std::to_string(key.bay)
                                                              : "switch" + std::string(1, key.letter);
        std::string error = setName(names, key, keyText, cell(column), defaults.switchLetters, false);
        if (!error.empty()) inputError(problems, std::move(error));
    };
    for (int bay = 1; bay <= kBays; ++bay) name({NameKey::HOST, bay, 0}, layout.host[bay]);
    for (const unsigned char letter : layout.switchLetters)
        name({NameKey::SWITCH, 0, static_cast<char>(letter)}, layout.switchHost[letter]);
    // A bay whose pick failed or was undone is empty for that reason alone: its host name is no
    // second error.
    if (undone) return;
    for (int bay = 1; bay <= kBays; ++bay)
        if (failedBay[bay]) names.setHost(bay, {});
    for (std::string& error : hostsOnEmptyBays(names, session)) inputError(problems, std::move(error));
}

bool allEmpty(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return cell.empty(); });
}

// An error for each host name that an earlier row used; the row's names are recorded when none is.
void hostsOfOtherRows(const EnclosureNames& names, NameIndex& used, long line, std::string& scratch,
                      Problems& problems) {
    bool clash = false;
    for (int bay = 1; bay <= EnclosureNames::kBays; ++bay) {
        const std::string& host = names.host(bay);
        if (host.empty()) continue;
        const long earlier = used.lineOf(nameAsRead(host, scratch));
        if (earlier == 0) continue;
        inputError(problems, "host" + std::to_string(bay) + ": the host name \"" + printable(host) +
                                 "\" is already used on line " + std::to_string(earlier));
        clash = true;
    }
    if (!clash)
        for (int bay = 1; bay <= EnclosureNames::kBays; ++bay)
            if (!names.host(bay).empty()) used.add(nameAsRead(names.host(bay), scratch), line);
}

}  // namespace

int runPlans(const std::string& path, const PlansDefaults& defaults, EnclosureSession& session,
             const WriterMaker& makeWriter, OutputSink& sink, std::FILE* err) {
    const bool standardInput = path == "-";
    const std::string shown = standardInput ? "<stdin>" : path;
#ifdef _WIN32
    if (standardInput) _setmode(_fileno(stdin), _O_BINARY);  // no CR LF or Ctrl-Z rules: UTF-16 reads whole
#endif
    if (!standardInput && pathKind(path) == PathKind::FOLDER) {
        std::fprintf(err, "bwmap: %s\n", folderNotFile(path).c_str());
        return BWMAP_ERROR;
    }
    std::FILE* file = standardInput ? stdin : openFile(path, "rb");
    if (file == nullptr) {
        std::fprintf(err, "bwmap: cannot read the plans file %s: %s\n", path.c_str(), std::strerror(errno));
        return BWMAP_ERROR;
    }
    const auto close = [&] {
        if (!standardInput) std::fclose(file);
    };
    PlansSource source(file);
    std::string error = source.open(defaults.separator);
    CsvReader reader(source, source.separator(), source.headerLine());
    std::vector<std::string> cells;
    Layout layout;
    if (error.empty()) {
        if (!reader.next(cells, error))
            error = reader.readError() ? std::strerror(errno) : "the file is empty: it needs a header row";
        else if (error.empty())
            error = readLayout(cells, defaults.switchLetters, source.separator(), layout);
    }
    if (!error.empty()) {
        std::fprintf(err, "bwmap: %s:%ld: %s\n", shown.c_str(),
                     reader.recordLine() > 0 ? reader.recordLine() : source.headerLine(), error.c_str());
        close();
        return BWMAP_ERROR;
    }

    bool anyError = false;
    bool anyRefused = false;
    const std::unique_ptr<MapWriter> made = makeWriter(layout.names, layout.extraNames);
    MapWriter& writer = *made;
    EnclosureNames names;
    ExtraColumns extra;
    extra.names = layout.extraNames;
    NameIndex usedNames;
    NameIndex usedHosts;  // a host name names one machine: its first row's line
    std::string readName;
    Problems problems;
    writer.begin(sink.buffer());
    while (reader.next(cells, error) && !sink.failed()) {
        problems.clear();
        if (!error.empty()) inputError(problems, error);
        else if (allEmpty(cells)) continue;
        const std::size_t nameCell = static_cast<std::size_t>(layout.name);
        const std::string* name = nameCell < cells.size() && !cells[nameCell].empty() ? &cells[nameCell] : nullptr;
        if (problems.empty()) {
            if (name) {
                long earlier = 0;
                try {
                    earlier = usedNames.add(nameAsRead(*name, readName), reader.recordLine());
                } catch (const std::length_error& full) {  // past 4 GiB of names: stop rather than miss a twin
                    sink.note("bwmap: " + shown + ":" + std::to_string(reader.recordLine()) + ": " + full.what() + "\n");
                    anyError = true;
                    break;
                }
                if (earlier)
                    inputError(problems, "the name \"" + printable(*name) + "\" is already used on line " +
                                             std::to_string(earlier));
            }
            mapRow(cells, layout, defaults, session, names, problems);
            if (problems.empty() && layout.names) hostsOfOtherRows(names, usedHosts, reader.recordLine(), readName, problems);
        }
        if (problems.empty()) {
            extra.values.resize(layout.extra.size());
            for (std::size_t i = 0; i < layout.extra.size(); ++i)
                extra.values[i] = cells[static_cast<std::size_t>(layout.extra[i])];
            const std::string refused = writeEnclosure(writer, session, name, sink.buffer(),
                                                       layout.names ? &names : nullptr, extra.empty() ? nullptr : &extra,
                                                       reader.recordLine());
            if (!refused.empty()) inputError(problems, refused);
        }
        if (problems.empty()) {
            sink.flushIfLarge();
            continue;
        }
        const std::string where = "bwmap: " + shown + ":" + std::to_string(reader.recordLine()) + ": " +
                                  (name ? printable(*name) : "(no name)") + ": ";
        for (const PickResult& problem : problems) {
            sink.note(where + problem.message.c_str() + "\n");  // as printed with %s: to a NUL byte
            (problem.status == PickResult::INPUT_ERROR ? anyError : anyRefused) = true;
        }
    }
    writer.end(sink.buffer());
    if (reader.readError()) {
        sink.note("bwmap: " + shown + ":" + std::to_string(reader.recordLine()) + ": the file could not be read to its end\n");
        anyError = true;
    }
    close();
    return anyError ? BWMAP_ERROR : anyRefused ? BWMAP_REFUSED : BWMAP_OK;
}
