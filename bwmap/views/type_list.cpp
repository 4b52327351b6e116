// The type list, read off the catalogue rows and the population's own offer rules.
#include "views/type_list.h"

#include <algorithm>
#include <vector>

#include <nlohmann/json.hpp>

#include "control_ids.h"
#include "base/encoding.h"
#include "labels.h"
#include "population.h"

namespace {

struct TypeRow {
    std::string name;                                // UTF-8
    std::vector<std::pair<char, char>> ports;        // switch letter, digit ('\0' when missing)
    std::vector<int> bays;
    std::vector<std::string> flags;
};

TypeRow describe(const BladeType& type) {
    TypeRow row;
    row.name = catalogueToUtf8(type.name);
    const std::size_t digits = portDigitCount(type);
    for (std::size_t i = 0; i < portCount(type); ++i)
        row.ports.emplace_back(type.portMap[i], i < digits ? type.portDigits[i] : '\0');
    for (int c = 0; c < ids::kColumns; ++c)
        if (offeredInUpperBay(type, c)) row.bays.push_back(c + 1);
    for (int c = 0; c < ids::kColumns; ++c)
        if (offeredInLowerBay(type, c)) row.bays.push_back(c + 9);
    const int span = static_cast<int>((type.flags & SPAN) >> kSpanShift);
    if (type.flags & HALF_HEIGHT) row.flags.push_back("half height");
    if (type.flags & ENHANCED_ONLY) row.flags.push_back("Enhanced only");
    if (type.flags & PORT3_IS_NIC) row.flags.push_back("third port a NIC");
    if (span > 0) row.flags.push_back("span " + std::to_string(span));
    if (type.flags & OS_DEPENDENT_ORDER) row.flags.push_back("NIC order by OS");
    if (type.flags & GROUP4_CLASS) row.flags.push_back("group of four");
    if (type.flags & SHARE_CLASS) row.flags.push_back("sharing class");
    return row;
}

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
    std::vector<TypeRow> rows;
    for (std::size_t row = 1; catalogue.row(row).name[0] != '\0'; ++row) rows.push_back(describe(catalogue.row(row)));
    if (json) {
        for (const TypeRow& row : rows) appendJson(out, row);
        return;
    }
    std::vector<std::vector<std::string>> lines = {{"Type", "Ports", "Bays", "Flags"}};
    for (const TypeRow& row : rows) lines.push_back({row.name, portsText(row), baysText(row.bays), joined(row.flags)});
    std::size_t widths[3] = {};
    for (const auto& line : lines)
        for (std::size_t i = 0; i < 3; ++i) widths[i] = std::max(widths[i], displayWidth(line[i]));
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t i = 0; i < 4; ++i) {
            for (char ch : line[i]) text += static_cast<unsigned char>(ch) < 0x20 ? '?' : ch;
            if (i < 3) text.append(widths[i] - displayWidth(line[i]) + 2, ' ');
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + '\n';
    }
}
