// The port map read back from a form's label grid, and its tab-separated text.
#include "port_map.h"

#include <cstring>
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
            const std::string label = shown.text(ids::label(r, c));
            std::size_t split = 0;  // the first ", "
            while (split + 1 < label.size() && !(label[split] == ',' && label[split + 1] == ' ')) ++split;
            const bool found = split + 1 < label.size();
            PortMapRow& row = rows.emplace_back();
            row.bay = lower ? c + 9 : c + 1;
            row.type = lower ? lowerText : upperText;
            row.os = os;
            row.switchPort = std::string(label.data(), found ? split : label.size());
            if (found) row.nic = std::string(label.data() + split + 2, label.size() - split - 2);
        }
    }
    return rows;
}

namespace {

// A field holds no tab or line end: each would break the line's shape. A NUL byte shows as '?'.
char* putField(char* out, const std::string& field) {
    for (const char ch : field) *out++ = (ch == '\t' || ch == '\r' || ch == '\n') ? ' ' : ch == '\0' ? '?' : ch;
    return out;
}

constexpr std::size_t kNumberSize = 11;  // "-2147483648"

// A decimal number without a library call: one per row.
char* putNumber(char* out, int number) {
    char digits[kNumberSize];
    std::size_t length = 0;
    unsigned value = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
    do {
        digits[sizeof digits - 1 - length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    if (number < 0) digits[sizeof digits - 1 - length++] = '-';
    std::memcpy(out, digits + sizeof digits - length, length);
    return out + length;
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

// The rows are written into room made once for all of them, then the text is cut to its length.
void appendPortMapTsv(std::string& out, const std::vector<PortMapRow>& rows, const std::string* firstField,
                      const char* lineEnd) {
    const std::size_t lineEndLength = std::strlen(lineEnd);
    std::size_t room = 0;
    for (const PortMapRow& row : rows) {
        room += kNumberSize + 4 + row.type.size() + row.os.size() + row.switchPort.size() + row.nic.size() +
                lineEndLength;
        if (firstField != nullptr) room += firstField->size() + 1;
    }
    const std::size_t start = out.size();
    out.resize(start + room);
    char* const begin = &out[0];
    char* p = begin + start;
    for (const PortMapRow& row : rows) {
        if (firstField != nullptr) {
            p = putField(p, *firstField);
            *p++ = '\t';
        }
        p = putNumber(p, row.bay);
        for (const std::string* field : {&row.type, &row.os, &row.switchPort, &row.nic}) {
            *p++ = '\t';
            p = putField(p, *field);
        }
        std::memcpy(p, lineEnd, lineEndLength);
        p += lineEndLength;
    }
    out.resize(static_cast<std::size_t>(p - begin));
}
