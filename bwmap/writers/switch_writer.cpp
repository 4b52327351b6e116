// The switch view (--by switch) in the table, tsv, csv and json formats.
#include "writers/switch_writer.h"

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "base/text_cells.h"
#include "enclosure/switch_order.h"
#include "writers/json_members.h"
#include "writers/text_table.h"

namespace {

std::vector<const char*> switchColumns(bool plans, bool names) {
    std::vector<const char*> columns;
    if (plans) columns.push_back("Enclosure");
    for (const char* column : {"Switch", "Port", "Bay", "Type"}) columns.push_back(column);
    if (names) columns.push_back("Host");
    columns.push_back("NIC");
    return columns;
}

// Fills the fields of one label in the order of switchColumns; returns their count. The Switch
// field is the switch's host name when it has one, else its letter.
std::size_t switchFields(const MappedEnclosure& e, const SwitchLabel& label, std::string texts[3],
                         std::string_view fields[7]) {
    std::size_t count = 0;
    if (e.name) fields[count++] = *e.name;
    const std::string* host = e.names ? &e.names->switchHost(label.letter) : nullptr;
    if (host && !host->empty()) texts[0] = *host;
    else texts[0].assign(1, label.letter);
    texts[1] = switchPortText(label);
    texts[2] = std::to_string(label.row->bay);
    for (int i = 0; i < 3; ++i) fields[count++] = texts[i];
    fields[count++] = label.row->type;
    if (e.names) fields[count++] = e.names->host(label.row->bay);
    fields[count++] = label.row->nic;
    return count;
}

// tsv, csv and table share the columns and differ in separator and padding.
// A plans row's further columns follow the others.
class SwitchTextWriter : public MapWriter {
public:
    SwitchTextWriter(MapFormat format, bool plans, bool names, const std::vector<std::string>& extra)
        : format_(format), columns_(switchColumns(plans, names)), extra_(extra) {}
    void begin(std::string& out) override {
        std::vector<std::string> header(columns_.begin(), columns_.end());
        header.insert(header.end(), extra_.begin(), extra_.end());
        const std::vector<std::string_view> fields(header.begin(), header.end());
        line(out, fields.data(), fields.size());
    }
    void write(std::string& out, const MappedEnclosure& e) override {
        fields_.resize(7 + extra_.size());
        labelsBySwitch(e.rows, labels_);
        for (const SwitchLabel& label : labels_) {
            std::size_t count = switchFields(e, label, texts_, fields_.data());
            for (std::size_t i = 0; i < extra_.size(); ++i)
                fields_[count++] = e.extra && i < e.extra->values.size() ? std::string_view(e.extra->values[i]) : std::string_view();
            line(out, fields_.data(), count);
        }
    }
    void end(std::string& out) override {
        if (format_ == MapFormat::TABLE) table_.release(out);
    }

private:
    void line(std::string& out, const std::string_view* fields, std::size_t count) {
        if (format_ == MapFormat::TABLE) return table_.add(out, fields, count);
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) out += format_ == MapFormat::CSV ? ',' : '\t';
            if (format_ == MapFormat::CSV) appendCsvField(out, fields[i]);
            else appendCell(out, fields[i]);
        }
        out += '\n';
    }

    MapFormat format_;
    std::vector<const char*> columns_;
    std::vector<std::string> extra_;
    StreamedTable table_;
    // Kept from one enclosure to the next for their storage.
    std::vector<SwitchLabel> labels_;
    std::string texts_[3];
    std::vector<std::string_view> fields_;
};

nlohmann::ordered_json optionalText(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(inputToUtf8(text));
}

// One object per enclosure on one line: its switches in order, each with its labels by port.
class SwitchJsonWriter : public MapWriter {
public:
    void write(std::string& out, const MappedEnclosure& e) override {
        nlohmann::ordered_json object;
        if (e.name) object["name"] = inputToUtf8(*e.name);
        object["enclosure"] = e.enclosure;
        object["defaultOs"] = e.defaultOs;
        nlohmann::ordered_json switches = nlohmann::ordered_json::array();
        labelsBySwitch(e.rows, labels_);
        char current = 0;  // the letter of the switch being written, as its first label gives it
        for (const SwitchLabel& label : labels_) {
            const std::string letter(1, label.letter);
            if (switches.empty() || switchKey(label.letter) != switchKey(current)) {
                current = label.letter;
                nlohmann::ordered_json one;
                one["switch"] = catalogueToUtf8(letter);
                if (e.names) one["host"] = optionalText(e.names->switchHost(label.letter));
                one["ports"] = nlohmann::ordered_json::array();
                switches.push_back(std::move(one));
            }
            nlohmann::ordered_json port;
            port["port"] = label.port > 0 ? nlohmann::ordered_json(label.port) : nlohmann::ordered_json(nullptr);
            port["bay"] = label.row->bay;
            port["type"] = catalogueToUtf8(std::string(label.row->type));
            if (e.names) port["host"] = optionalText(e.names->host(label.row->bay));
            port["nic"] = catalogueToUtf8(std::string(label.row->nic));
            switches.back()["ports"].push_back(std::move(port));
        }
        object["switches"] = std::move(switches);
        addExtraColumns(object, e);
        out += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        out += '\n';
    }

private:
    std::vector<SwitchLabel> labels_;  // kept for its storage
};

}  // namespace

std::unique_ptr<MapWriter> makeSwitchWriter(MapFormat format, bool plans, bool names, const BladeCatalogue&,
                                            const std::vector<std::string>& extra) {
    if (format == MapFormat::JSON) return std::make_unique<SwitchJsonWriter>();
    return std::make_unique<SwitchTextWriter>(format, plans, names, extra);
}
