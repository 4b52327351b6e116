// The switch view (--by switch), the port lookup (--find) and the shared-port warning.
#include "views/switch_view.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/char_writer.h"
#include "base/encoding.h"
#include "writers/json_members.h"
#include "input/picks.h"

namespace {

std::vector<const char*> switchColumns(bool plans, bool names) {
    std::vector<const char*> columns;
    if (plans) columns.push_back("Enclosure");
    for (const char* column : {"Switch", "Port", "Bay", "Type"}) columns.push_back(column);
    if (names) columns.push_back("Host");
    columns.push_back("NIC");
    return columns;
}

// Fills the fields of one label in the order of switchColumns; returns their count.
std::size_t switchFields(const MappedEnclosure& e, const SwitchLabel& label, std::string texts[3],
                         std::string_view fields[7]) {
    std::size_t count = 0;
    if (e.name) fields[count++] = *e.name;
    texts[0].assign(1, label.letter);
    texts[1] = switchPortText(label);
    texts[2] = std::to_string(label.row->bay);
    for (int i = 0; i < 3; ++i) fields[count++] = texts[i];
    fields[count++] = label.row->type;
    if (e.names) fields[count++] = e.names->host(label.row->bay);
    fields[count++] = label.row->nic;
    return count;
}

// A field as one cell of a tsv, csv or table line: no tab or line end, a NUL shown as '?'.
void appendPlain(std::string& out, std::string_view field) {
    for (char ch : field) out += (ch == '\t' || ch == '\r' || ch == '\n') ? ' ' : ch == '\0' ? '?' : ch;
}

void appendCsv(std::string& out, std::string_view field) {
    const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quote) out += '"';
    for (char ch : field) {
        if (ch == '"') out += '"';
        out += ch == '\0' ? '?' : ch;
    }
    if (quote) out += '"';
}

// tsv, csv and table share the columns and differ in separator and padding.
// A plans row's further columns follow the others.
class SwitchTextWriter : public MapWriter {
public:
    SwitchTextWriter(MapFormat format, bool plans, bool names, const BladeCatalogue& catalogue,
                     const std::vector<std::string>& extra)
        : format_(format), columns_(switchColumns(plans, names)), extra_(extra) {
        if (format_ != MapFormat::TABLE) return;
        for (const char* column : columns_) widths_.push_back(std::strlen(column));
        const std::size_t type = plans ? 4 : 3;
        for (std::size_t row = 0; catalogue.row(row).name[0] != '\0'; ++row)
            widths_[type] = std::max(widths_[type], displayWidth(catalogue.row(row).name));
        if (plans) widths_[0] = 16;
        if (names) widths_[type + 1] = 16;
        for (const std::string& name : extra) widths_.push_back(std::max<std::size_t>(displayWidth(name), 16));
    }
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

private:
    void line(std::string& out, const std::string_view* fields, std::size_t count) {
        const std::size_t start = out.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) out += format_ == MapFormat::CSV ? "," : format_ == MapFormat::TSV ? "\t" : "  ";
            if (format_ == MapFormat::CSV) {
                appendCsv(out, fields[i]);
                continue;
            }
            appendPlain(out, fields[i]);
            if (format_ != MapFormat::TABLE) continue;
            const std::size_t width = displayWidth(fields[i]);
            if (width < widths_[i]) out.append(widths_[i] - width, ' ');
        }
        while (format_ == MapFormat::TABLE && out.size() > start && out.back() == ' ') out.pop_back();
        out += '\n';
    }

    MapFormat format_;
    std::vector<const char*> columns_;
    std::vector<std::string> extra_;
    std::vector<std::size_t> widths_;
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
        for (const SwitchLabel& label : labels_) {
            const std::string letter(1, label.letter);
            if (switches.empty() || switches.back()["switch"] != catalogueToUtf8(letter)) {
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

bool sameLetter(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

}  // namespace

std::vector<SwitchLabel> labelsBySwitch(PortMapRows rows) {
    std::vector<SwitchLabel> labels;
    labelsBySwitch(rows, labels);
    return labels;
}

// Two passes: a counting sort by letter, which keeps the order of `rows`, then a stable
// insertion by port. A switch's ports mostly rise with the rows already, so few labels move.
void labelsBySwitch(PortMapRows rows, std::vector<SwitchLabel>& labels) {
    const auto letterOf = [](const PortMapRow& row) {
        return static_cast<unsigned char>(row.switchPort.empty() ? '\0' : row.switchPort[0]);
    };
    std::uint32_t next[256] = {};  // per letter: first its count, then where its next label goes
    unsigned first = 255, last = 0;  // the letters used
    for (const PortMapRow& row : rows) {
        const unsigned letter = letterOf(row);
        ++next[letter];
        first = std::min(first, letter);
        last = std::max(last, letter);
    }
    std::uint32_t start = 0;
    for (unsigned letter = first; letter <= last; ++letter) start += std::exchange(next[letter], start);
    labels.resize(rows.size());
    for (const PortMapRow& row : rows) {
        char letter;
        int port = 0;  // a local, so that the label is built whole
        splitSwitchPort(row.switchPort, letter, port);
        labels[next[letterOf(row)]++] = SwitchLabel{&row, static_cast<char>(letterOf(row)), port};
    }
    // A port with no number (0) goes after every number.
    const auto before = [](const SwitchLabel& a, const SwitchLabel& b) {
        if (a.letter != b.letter) return static_cast<unsigned char>(a.letter) < static_cast<unsigned char>(b.letter);
        return static_cast<unsigned>(a.port - 1) < static_cast<unsigned>(b.port - 1);
    };
    for (std::size_t i = 1; i < labels.size(); ++i) {
        const SwitchLabel label = labels[i];
        std::size_t j = i;
        for (; j > 0 && before(label, labels[j - 1]); --j) labels[j] = labels[j - 1];
        labels[j] = label;
    }
}

std::string switchPortText(const SwitchLabel& label) {
    return label.port > 0 ? std::to_string(label.port)
                          : std::string(label.row->switchPort.substr(std::min<std::size_t>(2, label.row->switchPort.size())));
}

std::unique_ptr<MapWriter> makeSwitchWriter(MapFormat format, bool plans, bool names, const BladeCatalogue& catalogue,
                                            const std::vector<std::string>& extra) {
    if (format == MapFormat::JSON) return std::make_unique<SwitchJsonWriter>();
    return std::make_unique<SwitchTextWriter>(format, plans, names, catalogue, extra);
}

bool parsePortQuery(const std::string& text, PortQuery& query, std::string& error) {
    const std::size_t colon = text.rfind(':');
    char letter = 0;
    int port = 0;
    if (colon != std::string::npos && colon > 0 && splitSwitchPort("A-" + text.substr(colon + 1), letter, port)) {
        query = {0, text.substr(0, colon), port};
        return true;
    }
    if (colon == std::string::npos && splitSwitchPort(text, letter, port)) {
        query = {letter, {}, port};
        return true;
    }
    error = "--find: \"" + printable(text) + "\" is not a switch port: write A-7 (switch and port) or NAME:7";
    return false;
}

SwitchPortFilter::SwitchPortFilter(std::unique_ptr<MapWriter> inner, const PortQuery* query, std::size_t* found,
                                   std::FILE* err, OutputSink* notes)
    : inner_(std::move(inner)), hasQuery_(query != nullptr), err_(err), notes_(notes), found_(found) {
    if (query) query_ = *query;
}

namespace {

// `text` as printable() shows it.
void putPrintable(CharWriter& out, std::string_view text) {
    for (const char ch : text) out.put(printableByte(ch));
}

}  // namespace

void SwitchPortFilter::write(std::string& out, const MappedEnclosure& enclosure) {
    // The enclosure's warnings leave together: the error stream is unbuffered.
    labelsBySwitch(enclosure.rows, labels_);
    warnings_.clear();
    prefix_.clear();
    for (std::size_t i = 1; i < labels_.size(); ++i) {
        const SwitchLabel& a = labels_[i - 1];
        const SwitchLabel& b = labels_[i];
        if (a.port == 0 || a.port != b.port || a.letter != b.letter) continue;
        if (prefix_.empty()) {
            prefix_ = "bwmap: warning: ";
            if (enclosure.name) {
                prefix_ += printable(*enclosure.name);
                prefix_ += ": ";
            }
        }
        // The line is made in place, its room made once: the texts and numbers, and 53 bytes of words.
        const std::size_t start = warnings_.size();
        warnings_.resize(start + prefix_.size() + a.row->switchPort.size() + a.row->nic.size() + b.row->nic.size() +
                         2 * CharWriter::kNumberRoom + 64);
        CharWriter line(&warnings_[start]);
        line.put(prefix_).put("switch port ");
        putPrintable(line, a.row->switchPort);
        line.put(" carries two labels: bay ").number(a.row->bay).put(" (");
        putPrintable(line, a.row->nic);
        line.put(") and bay ").number(b.row->bay).put(" (");
        putPrintable(line, b.row->nic);
        line.put(")\n");
        warnings_.resize(static_cast<std::size_t>(line.end() - warnings_.data()));
    }
    if (!warnings_.empty()) {
        if (notes_) notes_->note(warnings_);
        else std::fwrite(warnings_.data(), 1, warnings_.size(), err_);
    }
    if (!hasQuery_) return inner_->write(out, enclosure);

    std::vector<char> letters;
    if (query_.letter != 0) letters.push_back(query_.letter);
    else if (enclosure.names) letters = enclosure.names->switchesNamed(query_.name);
    keptRows_.clear();
    for (const PortMapRow& row : enclosure.rows) {
        char letter;
        int port;
        if (!splitSwitchPort(row.switchPort, letter, port) || port != query_.port) continue;
        for (char wanted : letters)
            if (sameLetter(letter, wanted)) {
                keptRows_.push_back(row);
                break;
            }
    }
    *found_ += keptRows_.size();
    if (keptRows_.empty()) return;
    MappedEnclosure kept = enclosure;
    kept.rows = keptRows_;
    inner_->write(out, kept);
}
