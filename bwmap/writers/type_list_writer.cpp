// The type list as a table or as JSON Lines.
#include "writers/type_list_writer.h"

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "views/type_list.h"
#include "writers/text_table.h"

namespace {

std::string portsText(const TypeRow& row) {
    std::string text;
    for (const auto& [letter, digit] : row.ports) {
        if (!text.empty()) text += ' ';
        text += catalogueToUtf8(std::string(1, letter));
        text += digit != '\0' ? catalogueToUtf8(std::string(1, digit)) : "?";
    }
    return text;
}

// "1-8, 10" for bays 1 to 8 and 10.
std::string baysText(const std::vector<int>& bays) {
    std::string text;
    for (std::size_t i = 0; i < bays.size();) {
        std::size_t last = i;
        while (last + 1 < bays.size() && bays[last + 1] == bays[last] + 1) ++last;
        if (!text.empty()) text += ", ";
        text += std::to_string(bays[i]);
        if (last > i) text += "-" + std::to_string(bays[last]);
        i = last + 1;
    }
    return text;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
    return text;
}

void appendJson(std::string& out, const TypeRow& row) {
    nlohmann::ordered_json object;
    object["type"] = row.name;
    nlohmann::ordered_json ports = nlohmann::ordered_json::array();
    for (const auto& [letter, digit] : row.ports)
        ports.push_back({{"switch", catalogueToUtf8(std::string(1, letter))},
                         {"digit", digit != '\0' ? nlohmann::ordered_json(catalogueToUtf8(std::string(1, digit)))
                                                 : nlohmann::ordered_json(nullptr)}});
    object["ports"] = std::move(ports);
    object["bays"] = row.bays;
    object["flags"] = row.flags;
    out += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    out += '\n';
}

}  // namespace

void appendTypeList(std::string& out, const BladeCatalogue& catalogue, bool json) {
    const std::vector<TypeRow> rows = typeRows(catalogue);
    if (json) {
        for (const TypeRow& row : rows) appendJson(out, row);
        return;
    }
    // A control byte of a catalogue text shows as '?'.
    const auto shown = [](std::string text) {
        for (char& ch : text) ch = static_cast<unsigned char>(ch) < 0x20 ? '?' : ch;
        return text;
    };
    std::vector<std::vector<std::string>> lines = {{"Type", "Ports", "Bays", "Flags"}};
    for (const TypeRow& row : rows)
        lines.push_back({shown(row.name), shown(portsText(row)), baysText(row.bays), shown(joined(row.flags))});
    const TextTable table = TextTable::fitting(lines);
    for (const auto& line : lines) table.appendRow(out, line);
}
