// The change ticket in table, tsv, csv and json: one class per format, cells by the map's rules.
#include "writers/diff_writer.h"

#include <cstring>

#include "base/encoding.h"
#include "base/text_cells.h"
#include "writers/json_text.h"
#include "writers/text_table.h"

namespace {

const char* const kSwitchColumns[] = {"Enclosure", "Switch",  "Port",     "Change",   "What",
                                      "Old bay",   "Old type", "Old host", "Old OS",   "Old NIC",
                                      "New bay",   "New type", "New host", "New OS",   "New NIC"};
const char* const kBayColumns[] = {"Enclosure", "Bay",      "NIC",      "Change",   "What",   "Old port", "Old type",
                                   "Old host",  "Old OS",   "New port", "New type", "New host", "New OS"};

std::string bayText(int bay) { return bay == 0 ? std::string() : std::to_string(bay); }

// One row's cells in the columns of its order; `numbers` keeps the bays' text.
void rowCells(bool bySwitch, const DiffEnclosure& e, const PortChange& row, std::string (&numbers)[2],
              std::vector<std::string_view>& cells) {
    cells.clear();
    cells.emplace_back(e.name ? std::string_view(*e.name) : std::string_view());
    if (bySwitch) {
        numbers[0] = bayText(row.before.bay);
        numbers[1] = bayText(row.after.bay);
        cells.insert(cells.end(), {row.switchName, row.port, changeWord(row.kind), row.what});
        for (int side = 0; side < 2; ++side) {
            const PortUse& use = side == 0 ? row.before : row.after;
            cells.insert(cells.end(), {numbers[side], use.type, use.host, use.os, use.nic});
        }
    } else {
        const PortUse& any = row.after.bay != 0 ? row.after : row.before;
        numbers[0] = bayText(any.bay);
        cells.insert(cells.end(), {numbers[0], any.nic, changeWord(row.kind), row.what});
        for (const PortUse* use : {&row.before, &row.after})
            cells.insert(cells.end(), {use->switchPort, use->type, use->host, use->os});
    }
    const std::size_t extra = e.extra ? e.extra->values.size() : 0;
    for (std::size_t i = 0; i < extra; ++i) cells.emplace_back(e.extra->values[i]);
}

std::vector<std::string> headerCells(bool bySwitch, const std::vector<std::string>& extra, bool oldEnclosure) {
    std::vector<std::string> cells;
    if (bySwitch) cells.assign(std::begin(kSwitchColumns), std::end(kSwitchColumns));
    else cells.assign(std::begin(kBayColumns), std::end(kBayColumns));
    if (oldEnclosure) cells.emplace_back("Old enclosure");
    if (oldEnclosure && !bySwitch) cells.emplace_back("Old bay");
    cells.insert(cells.end(), extra.begin(), extra.end());
    return cells;
}

std::string placeText(const std::string& enclosure, int bay) { return enclosure + " bay " + std::to_string(bay); }

// What a fact changes, as the What column names it.
std::string factWhat(const BladeFact& f) {
    switch (f.kind) {
    case BladeFact::MOVED: {
        std::string what = f.fromPair != f.toPair ? "enclosure, bay" : "bay";
        if (f.before.type != f.after.type) what += ", type";
        return what;
    }
    case BladeFact::REPLACED: return f.before.host != f.after.host ? "type, host" : "type";
    case BladeFact::RENAMED: return "host";
    case BladeFact::ADDED:
    case BladeFact::REMOVED: break;
    }
    return "blade";
}

// Facts and ports as lines of separated cells: tsv and csv.
class SeparatedDiff : public DiffWriter {
public:
    SeparatedDiff(bool csv, bool bySwitch, const std::vector<std::string>& extra)
        : csv_(csv), bySwitch_(bySwitch), extra_(extra) {}
    void facts(std::string& out, const std::vector<BladeFact>& facts,
               const std::function<const std::string&(std::size_t pair)>& enclosure) override {
        factLines_.clear();
        for (const BladeFact& f : facts) {
            const bool removed = f.kind == BladeFact::REMOVED;
            std::vector<std::string> cells{enclosure(removed ? f.fromPair : f.toPair), "", "", factWord(f.kind),
                                           factWhat(f)};
            const auto side = [&](int bay, const BladeAt& blade) {
                if (bySwitch_) cells.insert(cells.end(), {bayText(bay), blade.type, blade.host, "", ""});
                else cells.insert(cells.end(), {"", blade.type, blade.host, ""});
            };
            if (!bySwitch_) cells[1] = bayText(removed ? f.fromBay : f.toBay);
            side(f.fromBay, f.before);
            side(f.toBay, f.after);
            cells.push_back(f.kind == BladeFact::MOVED && f.fromPair != f.toPair ? enclosure(f.fromPair) : "");
            if (!bySwitch_) cells.push_back(f.kind == BladeFact::MOVED ? bayText(f.fromBay) : "");
            cells.resize(cells.size() + extra_.size());
            factLines_.push_back(std::move(cells));
        }
        (void)out;
    }
    // The facts go below the header, as rows of the same file.
    void header(std::string& out) override {
        line(out, headerCells(bySwitch_, extra_, true));
        for (const std::vector<std::string>& cells : factLines_) line(out, cells);
        factLines_.clear();
    }
    void ports(std::string& out, const DiffEnclosure& e, const std::vector<PortChange>& rows) override {
        for (const PortChange& row : rows) {
            rowCells(bySwitch_, e, row, numbers_, cells_);
            // The Old enclosure (and by bay Old bay) columns, before the further ones, are only a
            // moved blade's.
            cells_.insert(cells_.end() - static_cast<long>(e.extra ? e.extra->values.size() : 0), bySwitch_ ? 1 : 2,
                          std::string_view());
            line(out, cells_);
        }
    }

private:
    template <class Cells>
    void line(std::string& out, const Cells& cells) const {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) out += csv_ ? ',' : '\t';
            if (csv_) appendCsvField(out, cells[i]);
            else appendCell(out, cells[i]);
        }
        out += '\n';
    }

    bool csv_;
    bool bySwitch_;
    std::vector<std::string> extra_;
    std::vector<std::vector<std::string>> factLines_;
    std::string numbers_[2];
    std::vector<std::string_view> cells_;
};

// For a person: the facts as sentences, a blank line, then the port rows, each column as wide as
// its widest cell (of the first block of rows, as the map's tables stream).
class TableDiff : public DiffWriter {
public:
    TableDiff(bool bySwitch, const std::vector<std::string>& extra) : header_(headerCells(bySwitch, extra, false)), bySwitch_(bySwitch) {}
    void facts(std::string& out, const std::vector<BladeFact>& facts,
               const std::function<const std::string&(std::size_t pair)>& enclosure) override {
        std::vector<std::vector<std::string>> lines;
        for (const BladeFact& f : facts)
            lines.push_back({factWord(f.kind), factSentence(f, enclosure(f.fromPair), enclosure(f.toPair))});
        const TextTable table = TextTable::fitting(lines);
        for (const std::vector<std::string>& line : lines) table.appendRow(out, line);
        if (!facts.empty()) out += '\n';
    }
    // With port rows the header is the table's first row; without, it stands alone.
    void header(std::string& out) override {
        if (!headed_) TextTable::fitting({header_}).appendRow(out, header_);
    }
    void ports(std::string& out, const DiffEnclosure& e, const std::vector<PortChange>& rows) override {
        for (const PortChange& row : rows) {
            if (!headed_) table_.add(out, header_);
            headed_ = true;
            rowCells(bySwitch_, e, row, numbers_, cells_);
            table_.add(out, cells_);
        }
    }
    void finish(std::string& out) override { table_.release(out); }

private:
    std::vector<std::string> header_;
    bool bySwitch_;
    bool headed_ = false;
    StreamedTable table_;
    std::string numbers_[2];
    std::vector<std::string_view> cells_;
};

// JSON Lines: one object per fact ("blade"), then one per port row ("change"), UTF-8.
class JsonDiff : public DiffWriter {
public:
    JsonDiff(bool bySwitch, const std::vector<std::string>& extra) : bySwitch_(bySwitch), extra_(extra) {}
    void facts(std::string& out, const std::vector<BladeFact>& facts,
               const std::function<const std::string&(std::size_t pair)>& enclosure) override {
        for (const BladeFact& f : facts) {
            out += "{\"blade\":";
            appendJsonString(out, factWord(f.kind));
            const auto side = [&](const char* key, std::size_t pair, int bay, const BladeAt& blade) {
                out += ",\"";
                out += key;
                out += "\":";
                if (bay == 0) {
                    out += "null";
                    return;
                }
                out += "{\"enclosure\":";
                appendJsonString(out, enclosure(pair), inputToUtf8);
                out += ",\"bay\":";
                appendJsonNumber(out, bay);
                out += ",\"type\":";
                appendJsonString(out, blade.type, catalogueToUtf8);
                out += ",\"host\":";
                appendJsonStringOrNull(out, blade.host, inputToUtf8);
                out += '}';
            };
            side("old", f.fromPair, f.fromBay, f.before);
            side("new", f.toPair, f.toBay, f.after);
            out += "}\n";
        }
    }
    void header(std::string&) override {}
    void ports(std::string& out, const DiffEnclosure& e, const std::vector<PortChange>& rows) override {
        for (const PortChange& row : rows) {
            out += "{\"name\":";
            appendJsonString(out, e.name ? *e.name : std::string(), inputToUtf8);
            const PortUse& any = row.after.bay != 0 ? row.after : row.before;
            if (bySwitch_) {
                out += ",\"switch\":";
                appendJsonString(out, row.switchName, inputToUtf8);
                out += ",\"port\":";
                appendJsonString(out, row.port, catalogueToUtf8);
            } else {
                out += ",\"bay\":";
                appendJsonNumber(out, any.bay);
                out += ",\"nic\":";
                appendJsonString(out, any.nic, catalogueToUtf8);
            }
            out += ",\"change\":";
            appendJsonString(out, changeWord(row.kind));
            out += ",\"what\":[";
            for (std::size_t at = 0; at < row.what.size();) {
                const std::size_t end = std::min(row.what.find(", ", at), row.what.size());
                if (at > 0) out += ',';
                appendJsonString(out, std::string_view(row.what).substr(at, end - at));
                at = end == row.what.size() ? end : end + 2;
            }
            out += ']';
            for (const PortUse* use : {&row.before, &row.after}) {
                out += use == &row.before ? ",\"old\":" : ",\"new\":";
                if (use->bay == 0) {
                    out += "null";
                    continue;
                }
                out += "{\"bay\":";
                appendJsonNumber(out, use->bay);
                out += ",\"type\":";
                appendJsonString(out, use->type, catalogueToUtf8);
                out += ",\"host\":";
                appendJsonStringOrNull(out, use->host, inputToUtf8);
                out += ",\"os\":";
                appendJsonStringOrNull(out, use->os);
                out += ",\"switchPort\":";
                appendJsonString(out, use->switchPort, catalogueToUtf8);
                out += ",\"nic\":";
                appendJsonString(out, use->nic, catalogueToUtf8);
                out += '}';
            }
            if (!extra_.empty()) {
                out += ",\"columns\":{";
                for (std::size_t i = 0; i < extra_.size(); ++i) {
                    if (i > 0) out += ',';
                    appendJsonString(out, extra_[i], inputToUtf8);
                    out += ':';
                    appendJsonString(out, e.extra && i < e.extra->values.size() ? e.extra->values[i] : std::string(),
                                     inputToUtf8);
                }
                out += '}';
            }
            out += "}\n";
        }
    }

private:
    bool bySwitch_;
    std::vector<std::string> extra_;
};

}  // namespace

std::string factSentence(const BladeFact& f, const std::string& from, const std::string& to) {
    const auto hosted = [](const BladeAt& blade) {
        return blade.host.empty() ? blade.type : blade.type + " (" + blade.host + ")";
    };
    switch (f.kind) {
    case BladeFact::MOVED: {
        std::string text = f.after.host + ": " + placeText(from, f.fromBay) + " -> " + placeText(to, f.toBay);
        if (f.before.type != f.after.type) text += " (" + f.before.type + " -> " + f.after.type + ")";
        return text;
    }
    case BladeFact::REPLACED: return placeText(to, f.toBay) + ": " + hosted(f.before) + " -> " + hosted(f.after);
    case BladeFact::RENAMED:
        return placeText(to, f.toBay) + ": " + (f.before.host.empty() ? "(no host)" : f.before.host) + " -> " +
               (f.after.host.empty() ? "(no host)" : f.after.host);
    case BladeFact::ADDED: return placeText(to, f.toBay) + ": " + hosted(f.after);
    case BladeFact::REMOVED: break;
    }
    return placeText(from, f.fromBay) + ": " + hosted(f.before);
}

std::unique_ptr<DiffWriter> makeDiffWriter(MapFormat format, bool bySwitch, const std::vector<std::string>& extra) {
    switch (format) {
    case MapFormat::TSV: return std::make_unique<SeparatedDiff>(false, bySwitch, extra);
    case MapFormat::CSV: return std::make_unique<SeparatedDiff>(true, bySwitch, extra);
    case MapFormat::JSON: return std::make_unique<JsonDiff>(bySwitch, extra);
    default: break;
    }
    return std::make_unique<TableDiff>(bySwitch, extra);
}
