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

// Where each known column stands in the file's rows; -1 when the file has none.
struct Layout {
    int name = -1;
    int enclosure = -1;
    int os = -1;
    int bay[kBays + 1];
    int columnOs[ids::kColumns + 1];
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
        std::fill(columnOs, columnOs + ids::kColumns + 1, -1);
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
    else if (packed.compare(0, 2, "os") == 0 && !number(2, ids::kColumns).empty()) meant = "os" + number(2, ids::kColumns);
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

// The row's host and switch names into `names`, each problem noted.
void rowNames(const std::vector<std::string>& cells, const Layout& layout, const PlansDefaults& defaults,
              EnclosureNames& names, Problems& problems) {
    names.clear();
    const auto name = [&](NameKey key, int column) {
        if (column < 0) return;
        const std::string keyText = key.kind == NameKey::HOST ? "host" + std::to_string(key.bay)
                                                              : "switch" + std::string(1, key.letter);
        std::string error = setName(names, key, keyText, cells[static_cast<std::size_t>(column)],
                                    defaults.switchLetters, false);
        if (!error.empty()) inputError(problems, std::move(error));
    };
    for (int bay = 1; bay <= kBays; ++bay) name({NameKey::HOST, bay, 0}, layout.host[bay]);
    for (const unsigned char letter : layout.switchLetters)
        name({NameKey::SWITCH, 0, static_cast<char>(letter)}, layout.switchHost[letter]);
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
    for (int column = 1; column <= ids::kColumns; ++column) {
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

    rowNames(cells, layout, defaults, names, problems);
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

struct PlansReader::State {
    PlansDefaults defaults;
    std::string shown;
    bool standardInput = false;
    std::FILE* file = nullptr;
    std::unique_ptr<PlansSource> source;
    std::unique_ptr<CsvReader> reader;
    Layout layout;
    NameIndex usedNames;
    NameIndex usedHosts;  // a host name names one machine: its first row's line
    mutable std::string scratch;
};

PlansReader::PlansReader(const PlansDefaults& defaults) : state_(std::make_unique<State>()) {
    state_->defaults = defaults;
}

PlansReader::~PlansReader() {
    if (state_->file && !state_->standardInput) std::fclose(state_->file);
}

bool PlansReader::open(const std::string& path, std::FILE* err) {
    State& s = *state_;
    s.standardInput = path == "-";
    s.shown = s.standardInput ? "<stdin>" : path;
#ifdef _WIN32
    if (s.standardInput) _setmode(_fileno(stdin), _O_BINARY);  // no CR LF or Ctrl-Z rules: UTF-16 reads whole
#endif
    if (!s.standardInput && pathKind(path) == PathKind::FOLDER) {
        std::fprintf(err, "bwmap: %s\n", folderNotFile(path).c_str());
        return false;
    }
    s.file = s.standardInput ? stdin : openFile(path, "rb");
    if (s.file == nullptr) {
        std::fprintf(err, "bwmap: cannot read the plans file %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    s.source = std::make_unique<PlansSource>(s.file);
    std::string error = s.source->open(s.defaults.separator);
    s.reader = std::make_unique<CsvReader>(*s.source, s.source->separator(), s.source->headerLine());
    std::vector<std::string> cells;
    if (error.empty()) {
        if (!s.reader->next(cells, error))
            error = s.reader->readError() ? std::strerror(errno) : "the file is empty: it needs a header row";
        else if (error.empty())
            error = readLayout(cells, s.defaults.switchLetters, s.source->separator(), s.layout);
    }
    if (error.empty()) return true;
    std::fprintf(err, "bwmap: %s:%ld: %s\n", s.shown.c_str(),
                 s.reader->recordLine() > 0 ? s.reader->recordLine() : s.source->headerLine(), error.c_str());
    return false;
}

const std::string& PlansReader::shown() const { return state_->shown; }
bool PlansReader::names() const { return state_->layout.names; }
const std::vector<std::string>& PlansReader::extraNames() const { return state_->layout.extraNames; }
long PlansReader::line() const { return state_->reader->recordLine(); }
bool PlansReader::readError() const { return state_->reader->readError(); }

bool PlansReader::next(std::vector<std::string>& cells, Problems& problems) {
    std::string error;
    while (state_->reader->next(cells, error)) {
        if (!error.empty()) {
            inputError(problems, error);
            return true;
        }
        if (!allEmpty(cells)) return true;
    }
    return false;
}

const std::string* PlansReader::nameOf(const std::vector<std::string>& cells) const {
    const std::size_t at = static_cast<std::size_t>(state_->layout.name);
    return at < cells.size() && !cells[at].empty() ? &cells[at] : nullptr;
}

long PlansReader::checkName(const std::string& name, long line, Problems& problems) {
    const long earlier = state_->usedNames.add(nameAsRead(name, state_->scratch), line);
    if (earlier)
        inputError(problems, "the name \"" + printable(name) + "\" is already used on line " + std::to_string(earlier));
    return earlier;
}

long PlansReader::lineOfName(const std::string& name) const {
    return state_->usedNames.lineOf(nameAsRead(name, state_->scratch));
}

void PlansReader::map(const std::vector<std::string>& cells, EnclosureSession& session, EnclosureNames& names,
                      Problems& problems) const {
    mapRow(cells, state_->layout, state_->defaults, session, names, problems);
}

void PlansReader::readNames(const std::vector<std::string>& cells, EnclosureNames& names, Problems& problems) const {
    names.clear();
    if (checkShape(cells, state_->layout, problems)) rowNames(cells, state_->layout, state_->defaults, names, problems);
}

void PlansReader::checkHosts(const EnclosureNames& names, long line, Problems& problems) {
    if (state_->layout.names) hostsOfOtherRows(names, state_->usedHosts, line, state_->scratch, problems);
}

void PlansReader::extraOf(const std::vector<std::string>& cells, ExtraColumns& extra) const {
    const Layout& layout = state_->layout;
    extra.names = layout.extraNames;
    extra.values.resize(layout.extra.size());
    for (std::size_t i = 0; i < layout.extra.size(); ++i) extra.values[i] = cells[static_cast<std::size_t>(layout.extra[i])];
}

std::string PlansReader::where(const std::string* name, long line) const {
    return "bwmap: " + state_->shown + ":" + std::to_string(line) + ": " + (name ? printable(*name) : "(no name)") + ": ";
}

int runPlans(const std::string& path, const PlansDefaults& defaults, EnclosureSession& session,
             const WriterMaker& makeWriter, OutputSink& sink, std::FILE* err) {
    PlansReader plans(defaults);
    if (!plans.open(path, err)) return BWMAP_ERROR;
    bool anyError = false;
    bool anyRefused = false;
    const std::unique_ptr<MapWriter> made = makeWriter(plans.names(), plans.extraNames());
    MapWriter& writer = *made;
    EnclosureNames names;
    ExtraColumns extra;
    extra.names = plans.extraNames();
    std::vector<std::string> cells;
    Problems problems;
    writer.begin(sink.buffer());
    while (!sink.failed() && plans.next(cells, problems)) {
        const long line = plans.line();
        const std::string* name = problems.empty() ? plans.nameOf(cells) : nullptr;
        if (problems.empty()) {
            if (name) {
                try {
                    plans.checkName(*name, line, problems);
                } catch (const std::length_error& full) {
                    sink.note("bwmap: " + plans.shown() + ":" + std::to_string(line) + ": " + full.what() + "\n");
                    anyError = true;
                    break;
                }
            }
            plans.map(cells, session, names, problems);
            if (problems.empty()) plans.checkHosts(names, line, problems);
        }
        if (problems.empty()) {
            plans.extraOf(cells, extra);
            const std::string refused = writeEnclosure(writer, session, name, sink.buffer(),
                                                       plans.names() ? &names : nullptr, extra.empty() ? nullptr : &extra,
                                                       line);
            if (!refused.empty()) inputError(problems, refused);
        }
        if (problems.empty()) {
            sink.flushIfLarge();
            continue;
        }
        const std::string where = plans.where(name, line);
        for (const PickResult& problem : problems) {
            sink.note(where + problem.message.c_str() + "\n");  // as printed with %s: to a NUL byte
            (problem.status == PickResult::INPUT_ERROR ? anyError : anyRefused) = true;
        }
        problems.clear();
    }
    writer.end(sink.buffer());
    if (plans.readError()) {
        sink.note("bwmap: " + plans.shown() + ":" + std::to_string(plans.line()) + ": the file could not be read to its end\n");
        anyError = true;
    }
    return anyError ? BWMAP_ERROR : anyRefused ? BWMAP_REFUSED : BWMAP_OK;
}
