// The port map read back from a form's label grid, and its tab-separated text.
#include "port_map.h"

#include <optional>

#include "labels.h"

namespace {

std::string selectedText(EnclosureForm& form, int id) {
    const int selection = form.getSelection(id);
    if (selection < 0) return {};
    return form.getEntryText(id, selection).value_or(std::string());
}

// Rows that the lower bay's labelling wrote: it starts at the first lower row, so they are the
// first rows from there, as many as it writes.
int lowerBayLabelCount(EnclosureForm& form, const BladeCatalogue& catalogue, const std::string& lowerText) {
    return bayLabelCount(catalogue.row(findByName(catalogue, lowerText.c_str(), 1)), true, form.enclosureType);
}

}  // namespace

const char* const kPortMapColumns[5] = {"Bay", "Type", "OS", "Switch port", "NIC"};

std::vector<PortMapRow> readPortMap(EnclosureForm& form, ShownForm& shown, const BladeCatalogue& catalogue) {
    std::vector<PortMapRow> rows;
    rows.reserve(static_cast<std::size_t>(ids::kColumns * ids::kLabelRows));
    for (int c = 0; c < ids::kColumns; ++c) {
        bool any = false;
        for (int r = 0; r < ids::kLabelRows && !any; ++r) any = shown.shown(ids::label(r, c));
        if (!any) continue;

        const std::string upperText = selectedText(form, ids::upperBay(c));
        const std::string lowerText = selectedText(form, ids::lowerBay(c));
        const int lowerCount = lowerText.empty() ? 0 : lowerBayLabelCount(form, catalogue, lowerText);
        const std::string os = shown.enabled(ids::columnOs(c)) ? selectedText(form, ids::columnOs(c)) : "";

        for (int r = 0; r < ids::kLabelRows; ++r) {
            if (!shown.shown(ids::label(r, c))) continue;
            const bool lower = (r >= ids::kFirstLowerLabelRow && r < ids::kFirstLowerLabelRow + lowerCount) ||
                               upperText.empty();
            PortMapRow row;
            row.bay = lower ? c + 9 : c + 1;
            row.type = lower ? lowerText : upperText;
            row.os = os;
            const std::string label = shown.text(ids::label(r, c));
            const std::size_t split = label.find(", ");
            row.switchPort.assign(label, 0, split);
            if (split != std::string::npos) row.nic.assign(label, split + 2, std::string::npos);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

namespace {

// A field holds no tab or line end: each would break the line's shape. A NUL byte shows as '?'.
void appendField(std::string& out, const std::string& field) {
    const std::size_t start = out.size();
    out += field;
    for (std::size_t i = start; i < out.size(); ++i) {
        if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n') out[i] = ' ';
        else if (out[i] == '\0') out[i] = '?';
    }
}

// A decimal number without a library call: one per row.
void appendNumber(std::string& out, int number) {
    char digits[12];
    int length = 0;
    unsigned value = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
    do {
        digits[sizeof digits - 1 - length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    if (number < 0) digits[sizeof digits - 1 - length++] = '-';
    out.append(digits + sizeof digits - length, static_cast<std::size_t>(length));
}

}  // namespace

void appendPortMapTsvHeader(std::string& out, const char* firstColumn, const char* lineEnd) {
    if (firstColumn != nullptr) {
        out += firstColumn;
        out += '\t';
    }
    for (int i = 0; i < 5; ++i) {
        if (i > 0) out += '\t';
        out += kPortMapColumns[i];
    }
    out += lineEnd;
}

void appendPortMapTsv(std::string& out, const std::vector<PortMapRow>& rows, const std::string* firstField,
                      const char* lineEnd) {
    for (const PortMapRow& row : rows) {
        if (firstField != nullptr) {
            appendField(out, *firstField);
            out += '\t';
        }
        appendNumber(out, row.bay);
        for (const std::string* field : {&row.type, &row.os, &row.switchPort, &row.nic}) {
            out += '\t';
            appendField(out, *field);
        }
        out += lineEnd;
    }
}
