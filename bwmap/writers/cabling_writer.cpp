// The formats of the cabling check's verdicts; the check itself is in views/cabling_check.cpp.
#include "writers/cabling_writer.h"


#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "base/text_cells.h"
#include "writers/text_table.h"

namespace {

const char* const kColumns[] = {"Enclosure", "Bay", "Host", "NIC", "Switch", "Port", "Interface", "Verdict", "Note"};
constexpr std::size_t kColumnCount = sizeof kColumns / sizeof kColumns[0];

using Fields = std::vector<std::string>;

Fields fieldsOf(const std::string& enclosure, const CablingRow& row) {
    return {enclosure, std::to_string(row.bay), row.host, row.nic, row.switchHost, row.port,
            row.interface, verdictText(row.verdict), row.note};
}

nlohmann::ordered_json orNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

class TextCablingWriter : public CablingWriter {
public:
    explicit TextCablingWriter(MapFormat format) : format_(format) {}

    void begin(std::string& out) override {
        if (format_ == MapFormat::JSON) return;
        line(out, Fields(kColumns, kColumns + kColumnCount));
    }

    // The errors are messages of their own.
    void write(std::string& out, const std::string& name, const std::vector<CablingRow>& rows,
               const std::vector<std::string>&) override {
        if (format_ != MapFormat::JSON) {
            for (const CablingRow& row : rows) line(out, fieldsOf(name, row));
            return;
        }
        nlohmann::ordered_json ports = nlohmann::ordered_json::array();
        for (const CablingRow& row : rows)
            ports.push_back({{"bay", row.bay},
                             {"host", orNull(row.host)},
                             {"nic", orNull(row.nic)},
                             {"switch", orNull(row.switchHost)},
                             {"port", orNull(row.port)},
                             {"interface", orNull(row.interface)},
                             {"verdict", verdictText(row.verdict)},
                             {"note", orNull(row.note)}});
        nlohmann::ordered_json object;
        object["enclosure"] = name;
        object["ports"] = std::move(ports);
        out += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        out += '\n';
    }

    void end(std::string& out) override {
        if (format_ == MapFormat::TABLE) table_.release(out);
    }

private:
    void line(std::string& out, const Fields& fields) {
        if (format_ == MapFormat::TABLE) return table_.add(out, fields);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += format_ == MapFormat::CSV ? ',' : '\t';
            if (format_ == MapFormat::CSV) appendCsvField(out, fields[i]);
            else appendCell(out, fields[i]);
        }
        out += '\n';
    }

    MapFormat format_;
    StreamedTable table_;  // fitted to the first block of rows
};

}  // namespace

std::unique_ptr<CablingWriter> makeCablingWriter(MapFormat format) {
    return std::make_unique<TextCablingWriter>(format);
}
