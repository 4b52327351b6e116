// The table, tsv, csv and json formats of the port map; html lives in html_sheet.cpp.
#include "writers/map_writer.h"


#include "base/char_writer.h"
#include "base/encoding.h"
#include "base/text_cells.h"
#include "writers/html_sheet.h"
#include "writers/json_members.h"
#include "writers/json_text.h"
#include "writers/text_table.h"

namespace {

constexpr const char* kEnclosureColumn = "Enclosure";

// A row's fields: the standard ones, then the plans row's further columns.
class RowFields {
public:
    explicit RowFields(const std::vector<std::string>& extra) : extraCount_(extra.size()) {}
    // The header's column names.
    const std::vector<std::string_view>& header(bool plans, bool names, const std::vector<std::string>& extra) {
        for (const char* column : mapColumns(plans, names)) fields_.emplace_back(column);
        for (const std::string& name : extra) fields_.emplace_back(name);
        return fields_;
    }
    const std::vector<std::string_view>& of(const MappedEnclosure& e, const PortMapRow& row) {
        std::string_view fields[8];
        const std::size_t count = mapFields(e, row, bay_, fields);
        fields_.assign(fields, fields + count);
        for (std::size_t i = 0; i < extraCount_; ++i)
            fields_.emplace_back(e.extra && i < e.extra->values.size() ? std::string_view(e.extra->values[i]) : std::string_view());
        return fields_;
    }

private:
    std::size_t extraCount_;
    std::string bay_;
    std::vector<std::string_view> fields_;
};

class TsvWriter : public MapWriter {
public:
    TsvWriter(bool plans, bool names, const std::vector<std::string>& extra)
        : plans_(plans), names_(names), extra_(extra), fields_(extra) {}
    void begin(std::string& out) override {
        if (!names_ && extra_.empty()) return appendPortMapTsvHeader(out, plans_ ? kEnclosureColumn : nullptr, "\n");
        RowFields header(extra_);
        line(out, header.header(plans_, names_, extra_));
    }
    void write(std::string& out, const MappedEnclosure& e) override {
        if (!names_ && extra_.empty()) {
            // The window's lines, while every byte is ASCII; other text goes cell by cell, into
            // the text formats' encoding.
            const std::size_t start = out.size();
            appendPortMapTsv(out, e.rows, e.name, "\n");
            if (isPlainAscii(std::string_view(out).substr(start))) return;
            out.resize(start);
        }
        for (const PortMapRow& row : e.rows) line(out, fields_.of(e, row));
    }

private:
    static void line(std::string& out, const std::vector<std::string_view>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += '\t';
            appendCell(out, fields[i]);
        }
        out += '\n';
    }

    bool plans_;
    bool names_;
    std::vector<std::string> extra_;
    RowFields fields_;
};

class CsvWriter : public MapWriter {
public:
    CsvWriter(bool plans, bool names, const std::vector<std::string>& extra)
        : plans_(plans), names_(names), extra_(extra) {}
    void begin(std::string& out) override {
        RowFields header(extra_);
        line(out, header.header(plans_, names_, extra_));
    }
    // The cells every row of the enclosure repeats (its name, the further columns) are quoted
    // once; the columns are those of mapColumns.
    void write(std::string& out, const MappedEnclosure& e) override {
        head_.clear();
        if (e.name) {
            appendCsvField(head_, *e.name);
            head_ += ',';
        }
        tail_.clear();
        for (std::size_t i = 0; i < extra_.size(); ++i) {
            tail_ += ',';
            if (e.extra && i < e.extra->values.size()) appendCsvField(tail_, e.extra->values[i]);
        }
        tail_ += '\n';
        // The lines are written into room made once for the enclosure, then the text is cut to
        // its length: a cell takes at most three times its bytes and its quotes.
        std::size_t room = 0;
        for (const PortMapRow& row : e.rows) {
            room += head_.size() + tail_.size() + CharWriter::kNumberRoom + 8 +
                    3 * (row.type.size() + row.os.size() + row.switchPort.size() + row.nic.size());
            if (e.names)
                room += 3 * (e.names->host(row.bay).size() +
                             e.names->switchHost(row.switchPort.empty() ? '\0' : row.switchPort[0]).size()) + 6;
        }
        const std::size_t start = out.size();
        out.resize(start + room);
        CharWriter p(&out[start]);
        for (const PortMapRow& row : e.rows) {
            p.put(head_).number(row.bay).put(',');
            putCsvField(p, row.type);
            p.put(',');
            if (e.names) {
                putCsvField(p, e.names->host(row.bay));
                p.put(',');
            }
            putCsvField(p, row.os);
            p.put(',');
            if (e.names) {
                putCsvField(p, e.names->switchHost(row.switchPort.empty() ? '\0' : row.switchPort[0]));
                p.put(',');
            }
            putCsvField(p, row.switchPort);
            p.put(',');
            putCsvField(p, row.nic);
            p.put(tail_);
        }
        out.resize(static_cast<std::size_t>(p.end() - out.data()));
    }

private:
    static void line(std::string& out, const std::vector<std::string_view>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += ',';
            appendCsvField(out, fields[i]);
        }
        out += '\n';
    }

    bool plans_;
    bool names_;
    std::vector<std::string> extra_;
    std::string head_, tail_;  // kept for their storage
};

// Columns padded for a person, by the characters a terminal shows, each as wide as its widest
// cell; a plans run streams past the table's first block of rows.
class TableWriter : public MapWriter {
public:
    TableWriter(bool plans, bool names, const std::vector<std::string>& extra)
        : plans_(plans), names_(names), extra_(extra), fields_(extra) {}
    void begin(std::string& out) override {
        RowFields header(extra_);
        table_.add(out, header.header(plans_, names_, extra_));
    }
    void write(std::string& out, const MappedEnclosure& e) override {
        for (const PortMapRow& row : e.rows) table_.add(out, fields_.of(e, row));
    }
    void end(std::string& out) override { table_.release(out); }

private:
    bool plans_;
    bool names_;
    std::vector<std::string> extra_;
    RowFields fields_;
    StreamedTable table_;
};

// One object per enclosure on one line: the whole output for a single enclosure, JSON Lines
// for a plans file. Every text is UTF-8. Written straight into the buffer, member by member.
class JsonWriter : public MapWriter {
public:
    void write(std::string& out, const MappedEnclosure& e) override {
        out += '{';
        if (e.name) {
            out += "\"name\":";
            appendJsonString(out, *e.name, inputToUtf8);
            out += ',';
        }
        out += "\"enclosure\":";
        appendJsonString(out, e.enclosure);
        out += ",\"defaultOs\":";
        appendJsonString(out, e.defaultOs);
        out += ",\"bays\":[";
        // Bays in the order of their first label; a lower bay's labels can stand between two
        // of the upper bay's.
        bool written[17] = {};
        for (std::size_t first = 0; first < e.rows.size(); ++first) {
            const int bay = e.rows[first].bay;
            if (written[bay]) continue;
            written[bay] = true;
            if (out.back() != '[') out += ',';
            const PortMapRow& row = e.rows[first];
            out += "{\"bay\":";
            appendJsonNumber(out, bay);
            out += ",\"type\":";
            appendJsonString(out, row.type, catalogueToUtf8);
            if (e.names) {
                out += ",\"host\":";
                appendJsonStringOrNull(out, e.names->host(bay), inputToUtf8);
            }
            out += ",\"os\":";
            appendJsonStringOrNull(out, row.os);
            out += ",\"ports\":[";
            for (std::size_t i = first; i < e.rows.size(); ++i) {
                const PortMapRow& port = e.rows[i];
                if (port.bay != bay) continue;
                if (i > first) out += ',';
                out += "{\"switchPort\":";
                appendJsonString(out, port.switchPort, catalogueToUtf8);
                if (e.names) {
                    out += ",\"switch\":";
                    appendJsonStringOrNull(out, e.names->switchHost(port.switchPort[0]), inputToUtf8);
                }
                out += ",\"nic\":";
                appendJsonString(out, port.nic, catalogueToUtf8);
                out += '}';
            }
            out += "]}";
        }
        out += ']';
        if (e.extra && !e.extra->empty()) {
            nlohmann::ordered_json columns = nlohmann::ordered_json::object();
            addExtraColumns(columns, e);
            out += ",\"columns\":";
            out += columns["columns"].dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        }
        out += "}\n";
    }
};

}  // namespace

std::vector<const char*> mapColumns(bool plans, bool names) {
    std::vector<const char*> columns;
    if (plans) columns.push_back(kEnclosureColumn);
    columns.push_back(kPortMapColumns[0]);
    columns.push_back(kPortMapColumns[1]);
    if (names) columns.push_back("Host");
    columns.push_back(kPortMapColumns[2]);
    if (names) columns.push_back("Switch");
    columns.push_back(kPortMapColumns[3]);
    columns.push_back(kPortMapColumns[4]);
    return columns;
}

std::size_t mapFields(const MappedEnclosure& e, const PortMapRow& row, std::string& bay, std::string_view fields[8]) {
    std::size_t count = 0;
    if (e.name) fields[count++] = *e.name;
    bay = std::to_string(row.bay);
    fields[count++] = bay;
    fields[count++] = row.type;
    if (e.names) fields[count++] = e.names->host(row.bay);
    fields[count++] = row.os;
    if (e.names) fields[count++] = e.names->switchHost(row.switchPort.empty() ? '\0' : row.switchPort[0]);
    fields[count++] = row.switchPort;
    fields[count++] = row.nic;
    return count;
}

// The table no longer reads the catalogue: its widths come from the cells.
std::unique_ptr<MapWriter> makeMapWriter(MapFormat format, bool plans, const BladeCatalogue&, bool names,
                                         const std::vector<std::string>& extra) {
    switch (format) {
    case MapFormat::TSV: return std::make_unique<TsvWriter>(plans, names, extra);
    case MapFormat::CSV: return std::make_unique<CsvWriter>(plans, names, extra);
    case MapFormat::JSON: return std::make_unique<JsonWriter>();
    case MapFormat::HTML: return makeHtmlWriter();
    case MapFormat::TABLE:
    case MapFormat::NETBOX_CABLES:
    case MapFormat::NETBOX_INTERFACES:
    case MapFormat::DOT:
    case MapFormat::JUNIT: break;
    }
    return std::make_unique<TableWriter>(plans, names, extra);
}
