// The plans file: a header naming the columns, then one enclosure per row.
#include "plans.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "csv_reader.h"
#include "names.h"
#include "picks.h"
#include "run.h"

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
    bool names = false;   // any host or switch column
    std::size_t width = 0;

    Layout() {
        std::fill(bay, bay + kBays + 1, -1);
        std::fill(columnOs, columnOs + kColumns + 1, -1);
        std::fill(host, host + kBays + 1, -1);
        std::fill(switchHost, switchHost + 256, -1);
    }
};

std::string trimmedLowerCase(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    std::size_t last = text.find_last_not_of(" \t");
    std::string out = first == std::string::npos ? "" : text.substr(first, last - first + 1);
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

// Reads the header; an empty string when it is good, else the message.
std::string readLayout(const std::vector<std::string>& header, const std::string& letters, Layout& layout) {
    for (std::size_t i = 0; i < header.size(); ++i) {
        const NameKey key = parseNameKey(trimmedLowerCase(header[i]));
        if (key.kind == NameKey::SWITCH && letters.find(key.letter) == std::string::npos)
            return "column \"" + printable(header[i]) + "\": no blade type uses switch " +
                   printable(std::string(1, key.letter));
        layout.names = layout.names || key.kind != NameKey::NONE;
        int* slot = slotFor(layout, header[i]);
        if (slot == nullptr) return "unknown column \"" + printable(header[i]) + "\"";
        if (*slot >= 0) return "column \"" + printable(header[i]) + "\" is named twice";
        *slot = static_cast<int>(i);
    }
    if (layout.name < 0) return "the header has no \"name\" column";
    layout.width = header.size();
    return {};
}

// One row: a fresh form, the enclosure type and default OS, bays 1-16, then the column OS cells.
PickResult mapRow(const std::vector<std::string>& cells, const Layout& layout, const PlansDefaults& defaults,
                  EnclosureSession& session, EnclosureNames& names) {
    if (cells.size() != layout.width)
        return {PickResult::INPUT_ERROR, "the row has " + std::to_string(cells.size()) + " cells, the header " +
                                             std::to_string(layout.width)};
    if (cells[static_cast<std::size_t>(layout.name)].empty()) return {PickResult::INPUT_ERROR, "the name is empty"};

    int enclosureType = defaults.enclosureType;
    if (layout.enclosure >= 0 && !cells[static_cast<std::size_t>(layout.enclosure)].empty()) {
        const std::string& cell = cells[static_cast<std::size_t>(layout.enclosure)];
        enclosureType = parseEnclosure(cell);
        if (enclosureType < 0) return {PickResult::INPUT_ERROR, "enclosure \"" + printable(cell) + "\" is neither Standard nor Enhanced"};
    }
    int defaultOs = defaults.defaultOs;
    if (layout.os >= 0 && !cells[static_cast<std::size_t>(layout.os)].empty()) {
        const std::string& cell = cells[static_cast<std::size_t>(layout.os)];
        defaultOs = parseOs(cell);
        if (defaultOs < 0) return {PickResult::INPUT_ERROR, "os \"" + printable(cell) + "\" is neither Windows nor Linux"};
    }
    session.start(enclosureType, defaultOs);

    auto place = [&](Pick::Kind kind, int number, int column) -> PickResult {
        if (column < 0 || cells[static_cast<std::size_t>(column)].empty()) return {};
        Pick pick;
        pick.kind = kind;
        pick.number = number;
        pick.text = cells[static_cast<std::size_t>(column)];
        return session.pick(pick);
    };
    for (int bay = 1; bay <= kBays; ++bay) {
        PickResult result = place(Pick::BAY, bay, layout.bay[bay]);
        if (result.status != PickResult::DONE) return result;
    }
    for (int column = 1; column <= kColumns; ++column) {
        PickResult result = place(Pick::COLUMN_OS, column, layout.columnOs[column]);
        if (result.status != PickResult::DONE) return result;
    }

    names.clear();
    auto name = [&](NameKey key, int column) -> std::string {
        if (column < 0) return {};
        const std::string keyText = key.kind == NameKey::HOST ? "host" + std::to_string(key.bay)
                                                              : "switch" + std::string(1, key.letter);
        return setName(names, key, keyText, cells[static_cast<std::size_t>(column)], defaults.switchLetters, false);
    };
    std::string error;
    for (int bay = 1; bay <= kBays && error.empty(); ++bay) error = name({NameKey::HOST, bay, 0}, layout.host[bay]);
    for (int letter = 0; letter < 256 && error.empty(); ++letter)
        error = name({NameKey::SWITCH, 0, static_cast<char>(letter)}, layout.switchHost[letter]);
    if (error.empty()) error = hostOnEmptyBay(names, session);
    if (!error.empty()) return {PickResult::INPUT_ERROR, error};
    return {};
}

}  // namespace

int runPlans(const std::string& path, const PlansDefaults& defaults, EnclosureSession& session,
             const WriterMaker& makeWriter, OutputSink& sink, std::FILE* err) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        std::fprintf(err, "bwmap: cannot read the plans file %s: %s\n", path.c_str(), std::strerror(errno));
        return BWMAP_ERROR;
    }
    CsvReader reader(file);
    std::vector<std::string> cells;
    std::string error;
    Layout layout;
    if (!reader.next(cells, error)) {
        error = reader.readError() ? std::strerror(errno) : "the file is empty: it needs a header row";
    } else if (error.empty()) {
        error = readLayout(cells, defaults.switchLetters, layout);
    }
    if (!error.empty()) {
        std::fprintf(err, "bwmap: %s:%ld: %s\n", path.c_str(), reader.recordLine() > 0 ? reader.recordLine() : 1L,
                     error.c_str());
        std::fclose(file);
        return BWMAP_ERROR;
    }

    bool anyError = false;
    bool anyRefused = false;
    const std::unique_ptr<MapWriter> made = makeWriter(layout.names);
    MapWriter& writer = *made;
    EnclosureNames names;
    writer.begin(sink.buffer());
    while (reader.next(cells, error) && !sink.failed()) {
        PickResult result;
        if (!error.empty()) result = {PickResult::INPUT_ERROR, error};
        else result = mapRow(cells, layout, defaults, session, names);
        if (result.status == PickResult::DONE) {
            const std::string refused = writeEnclosure(writer, session, &cells[static_cast<std::size_t>(layout.name)],
                                                       sink.buffer(), layout.names ? &names : nullptr);
            if (!refused.empty()) result = {PickResult::INPUT_ERROR, refused};
        }
        if (result.status != PickResult::DONE) {
            const std::size_t nameCell = static_cast<std::size_t>(layout.name);
            const std::string name =
                nameCell < cells.size() && !cells[nameCell].empty() ? printable(cells[nameCell]) : "(no name)";
            std::fprintf(err, "bwmap: %s:%ld: %s: %s\n", path.c_str(), reader.recordLine(), name.c_str(),
                         result.message.c_str());
            (result.status == PickResult::INPUT_ERROR ? anyError : anyRefused) = true;
            continue;
        }
        sink.flushIfLarge();
    }
    writer.end(sink.buffer());
    if (reader.readError()) {
        std::fprintf(err, "bwmap: %s:%ld: the file could not be read to its end\n", path.c_str(), reader.recordLine());
        anyError = true;
    }
    std::fclose(file);
    return anyError ? BWMAP_ERROR : anyRefused ? BWMAP_REFUSED : BWMAP_OK;
}
