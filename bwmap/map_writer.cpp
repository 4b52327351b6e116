// The table, tsv, csv and json formats of the port map; html lives in html_sheet.cpp.
#include "map_writer.h"

#include <algorithm>
#include <cstring>

#include <nlohmann/json.hpp>

#include "encoding.h"
#include "html_sheet.h"
#include "session.h"

namespace {

constexpr const char* kEnclosureColumn = "Enclosure";

class TsvWriter : public MapWriter {
public:
    explicit TsvWriter(bool plans) : plans_(plans) {}
    void begin(std::string& out) override { appendPortMapTsvHeader(out, plans_ ? kEnclosureColumn : nullptr, "\n"); }
    void write(std::string& out, const MappedEnclosure& e) override { appendPortMapTsv(out, e.rows, e.name, "\n"); }

private:
    bool plans_;
};

// Quotes a field that holds a comma, a quote or a line end, doubling its quotes. A NUL byte
// shows as '?'.
void appendCsvField(std::string& out, const std::string& field) {
    const bool quote = field.find_first_of(",\"\r\n") != std::string::npos;
    if (quote) out += '"';
    for (char ch : field) {
        if (ch == '"') out += '"';
        out += ch == '\0' ? '?' : ch;
    }
    if (quote) out += '"';
}

class CsvWriter : public MapWriter {
public:
    explicit CsvWriter(bool plans) : plans_(plans) {}
    void begin(std::string& out) override {
        if (plans_) out += std::string(kEnclosureColumn) + ",";
        for (int i = 0; i < 5; ++i) {
            if (i > 0) out += ',';
            out += kPortMapColumns[i];
        }
        out += '\n';
    }
    void write(std::string& out, const MappedEnclosure& e) override {
        for (const PortMapRow& row : e.rows) {
            if (e.name) {
                appendCsvField(out, *e.name);
                out += ',';
            }
            out += std::to_string(row.bay);
            for (const std::string* field : {&row.type, &row.os, &row.switchPort, &row.nic}) {
                out += ',';
                appendCsvField(out, *field);
            }
            out += '\n';
        }
    }

private:
    bool plans_;
};

// Columns padded for a person. Widths are fixed before the first row so that a plans run can
// stream: Type fits every catalogue name; a longer enclosure name pushes its own rows.
class TableWriter : public MapWriter {
public:
    TableWriter(bool plans, const BladeCatalogue& catalogue) : plans_(plans) {
        widths_ = {std::strlen(kPortMapColumns[0]), std::strlen(kPortMapColumns[1]), std::strlen("Windows"),
                   std::strlen(kPortMapColumns[3]), std::strlen("NIC A")};
        for (std::size_t row = 0; catalogue.row(row).name[0] != '\0'; ++row)
            widths_[1] = std::max(widths_[1], std::strlen(catalogue.row(row).name));
    }
    void begin(std::string& out) override {
        std::vector<std::string> header(kPortMapColumns, kPortMapColumns + 5);
        const std::string enclosure = kEnclosureColumn;
        line(out, plans_ ? &enclosure : nullptr, header);
    }
    void write(std::string& out, const MappedEnclosure& e) override {
        for (const PortMapRow& row : e.rows)
            line(out, e.name, {std::to_string(row.bay), row.type, row.os, row.switchPort, row.nic});
    }

private:
    static constexpr std::size_t kNameWidth = 16;
    static void pad(std::string& out, const std::string& text, std::size_t width) {
        out += text;
        if (text.size() < width) out.append(width - text.size(), ' ');
    }
    void line(std::string& out, const std::string* name, const std::vector<std::string>& fields) {
        std::string text;
        if (name) {
            pad(text, *name, kNameWidth);
            text += "  ";
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) text += "  ";
            pad(text, fields[i], widths_[i]);
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        for (char& ch : text) {
            if (ch == '\t' || ch == '\r' || ch == '\n') ch = ' ';
            if (ch == '\0') ch = '?';
        }
        out += text;
        out += '\n';
    }

    bool plans_;
    std::vector<std::size_t> widths_;
};

// One object per enclosure on one line: the whole output for a single enclosure, JSON Lines
// for a plans file. Every text is UTF-8.
class JsonWriter : public MapWriter {
public:
    void write(std::string& out, const MappedEnclosure& e) override {
        nlohmann::ordered_json object;
        if (e.name) object["name"] = inputToUtf8(*e.name);
        object["enclosure"] = e.enclosure;
        object["defaultOs"] = e.defaultOs;
        nlohmann::ordered_json bays = nlohmann::ordered_json::array();
        // Bays in the order of their first label; a lower bay's labels can stand between two
        // of the upper bay's.
        int index[17] = {};
        for (const PortMapRow& row : e.rows) {
            if (index[row.bay] == 0) {
                nlohmann::ordered_json bay;
                bay["bay"] = row.bay;
                bay["type"] = catalogueToUtf8(row.type);
                bay["os"] = row.os.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(row.os);
                bay["ports"] = nlohmann::ordered_json::array();
                bays.push_back(std::move(bay));
                index[row.bay] = static_cast<int>(bays.size());
            }
            bays[static_cast<std::size_t>(index[row.bay] - 1)]["ports"].push_back(
                {{"switchPort", catalogueToUtf8(row.switchPort)}, {"nic", catalogueToUtf8(row.nic)}});
        }
        object["bays"] = std::move(bays);
        out += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        out += '\n';
    }
};

}  // namespace

std::unique_ptr<MapWriter> makeMapWriter(MapFormat format, bool plans, const BladeCatalogue& catalogue) {
    switch (format) {
    case MapFormat::TSV: return std::make_unique<TsvWriter>(plans);
    case MapFormat::CSV: return std::make_unique<CsvWriter>(plans);
    case MapFormat::JSON: return std::make_unique<JsonWriter>();
    case MapFormat::HTML: return makeHtmlWriter();
    case MapFormat::TABLE: break;
    }
    return std::make_unique<TableWriter>(plans, catalogue);
}

void writeEnclosure(MapWriter& writer, EnclosureSession& session, const std::string* name, std::string& out) {
    MappedEnclosure mapped;
    mapped.name = name;
    mapped.enclosure = session.enclosureText();
    mapped.defaultOs = session.defaultOsText();
    mapped.rows = session.portMap();
    EnclosureView view;
    if (writer.drawsEnclosure()) {
        view = session.view();
        mapped.view = &view;
    }
    writer.write(out, mapped);
}
