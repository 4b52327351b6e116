// The port map read back from a form's label grid, and its tab-separated text.
#include "port_map.h"

#include <cstring>
#include <optional>
#include <utility>

#include "labels.h"
#include "short_text.h"

namespace {

// Where the rows' texts live: the in-memory form's own stand still, any other form's are copied.
struct InPlace {
    std::string_view keep(std::string_view text) { return text; }
};
struct Copied {
    std::deque<std::string>& texts;
    std::string_view keep(std::string_view text) { return texts.emplace_back(text); }
};

// The selected entry's text, empty when nothing is selected; `labels` takes the number of labels
// the entry's type writes in a lower bay.
template <typename Form, typename Store>
std::string_view readSelected(Form& form, const BladeCatalogue& catalogue, int id, Store& store, int* labels = nullptr) {
    const int selection = form.getSelection(id);
    if (selection < 0) return {};
    const auto entry = readEntry(form, id, selection);
    if (!entry || entry->empty()) return {};
    if (labels)
        *labels = bayLabelCount(catalogue.row(entryRow(form, catalogue, id, selection, *entry, 1)), true, form.enclosureType);
    return store.keep(*entry);
}

// Instantiated for any form and for the in-memory one, whose calls are then direct.
template <typename Form, typename Shown, typename Store>
void readRows(Form& form, Shown& shown, const BladeCatalogue& catalogue, Store& store, std::vector<PortMapRow>& rows) {
    std::size_t count = 0;
    for (int c = 0; c < ids::kColumns; ++c) {
        bool visible[ids::kLabelRows];
        bool any = false;
        for (int r = 0; r < ids::kLabelRows; ++r) {
            visible[r] = shown.shown(ids::label(r, c));
            any = any || visible[r];
        }
        if (!any) continue;

        int lowerCount = 0;
        const std::string_view upperText = readSelected(form, catalogue, ids::upperBay(c), store);
        const std::string_view lowerText = readSelected(form, catalogue, ids::lowerBay(c), store, &lowerCount);
        const std::string_view os =
            shown.enabled(ids::columnOs(c)) ? readSelected(form, catalogue, ids::columnOs(c), store) : std::string_view();

        for (int r = 0; r < ids::kLabelRows; ++r) {
            if (!visible[r]) continue;
            const bool lower = (r >= ids::kFirstLowerLabelRow && r < ids::kFirstLowerLabelRow + lowerCount) ||
                               upperText.empty();
            if (count == rows.size()) rows.emplace_back();
            PortMapRow& row = rows[count++];
            row.bay = lower ? c + 9 : c + 1;
            row.type = lower ? lowerText : upperText;
            row.os = os;
            const std::string_view label = store.keep(shown.text(ids::label(r, c)));
            std::size_t split = 0;  // the first ", "; a short scan, no library call
            while (split + 1 < label.size() && !(label[split] == ',' && label[split + 1] == ' ')) ++split;
            if (split + 1 < label.size()) {
                row.switchPort = label.substr(0, split);
                row.nic = label.substr(split + 2);
            } else {
                row.switchPort = label;
                row.nic = {};
            }
        }
    }
    rows.resize(count);
}

}  // namespace

const char* const kPortMapColumns[5] = {"Bay", "Type", "OS", "Switch port", "NIC"};

PortMap readPortMap(EnclosureForm& form, ShownForm& shown, const BladeCatalogue& catalogue) {
    PortMap map;
    Copied store{map.texts};
    readRows(form, shown, catalogue, store, map.rows);
    return map;
}

void readPortMap(FormModel& form, ShownModel& shown, const BladeCatalogue& catalogue, std::vector<PortMapRow>& rows) {
    InPlace store;
    readRows(form, shown, catalogue, store, rows);
}

namespace {

// What each byte of a field shows as: a tab or line end would break the line's shape and is a
// blank, a NUL byte is '?', every other byte itself.
struct FieldBytes {
    char shown[256];
    constexpr FieldBytes() : shown() {
        for (int b = 0; b < 256; ++b) shown[b] = static_cast<char>(b);
        shown[static_cast<unsigned char>('\t')] = shown[static_cast<unsigned char>('\r')] =
            shown[static_cast<unsigned char>('\n')] = ' ';
        shown[0] = '?';
    }
};
constexpr FieldBytes kFieldBytes;

char* putField(char* out, std::string_view field) {
    for (const char ch : field) *out++ = kFieldBytes.shown[static_cast<unsigned char>(ch)];
    return out;
}

constexpr std::size_t kNumberSize = 11;  // "-2147483648"

// A decimal number without a library call: one per row, mostly a bay's.
char* putNumber(char* out, int number) {
    if (number >= 0 && number < 100) {
        if (number >= 10) *out++ = static_cast<char>('0' + number / 10);
        *out++ = static_cast<char>('0' + number % 10);
        return out;
    }
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

constexpr std::size_t kStep = 16;

// Copies `length` bytes written earlier in the same buffer (`from` + `length` <= `out`), a step
// at a time: each step reads whole before it writes, and the last may write up to kStep - 1
// bytes past the copy, into room left for it.
char* copyEarlier(char* out, const char* from, std::size_t length) {
    for (std::size_t i = 0; i < length; i += kStep) std::memmove(out + i, from + i, kStep);
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
// What rows repeat is written once and copied: the first field on every row, and the bay, type
// and OS on each further row of a bay.
void appendPortMapTsv(std::string& out, PortMapRows rows, const std::string* firstField,
                      const char* lineEnd) {
    const std::size_t lineEndLength = std::strlen(lineEnd);
    std::size_t room = kStep;
    for (const PortMapRow& row : rows) {
        room += kNumberSize + 4 + row.type.size() + row.os.size() + row.switchPort.size() + row.nic.size() +
                lineEndLength;
        if (firstField != nullptr) room += firstField->size() + 1;
    }
    const std::size_t start = out.size();
    out.resize(start + room);
    char* const begin = &out[0];
    char* p = begin + start;
    const char* const firstLine = p;
    std::size_t firstLength = 0;
    const PortMapRow* previous = nullptr;
    const char* bayFields = nullptr;  // the previous row's bay, type and OS, tabs after each
    std::size_t bayLength = 0;
    for (const PortMapRow& row : rows) {
        if (firstField != nullptr && p == firstLine) {
            p = putField(p, *firstField);
            *p++ = '\t';
            firstLength = static_cast<std::size_t>(p - firstLine);
        } else if (firstField != nullptr) {
            p = copyEarlier(p, firstLine, firstLength);
        }
        if (previous && previous->bay == row.bay && sameShortText(previous->type, row.type) &&
            sameShortText(previous->os, row.os)) {
            const char* const fields = p;
            p = copyEarlier(p, bayFields, bayLength);
            bayFields = fields;
        } else {
            bayFields = p;
            p = putNumber(p, row.bay);
            for (const std::string_view* field : {&row.type, &row.os}) {
                *p++ = '\t';
                p = putField(p, *field);
            }
            *p++ = '\t';
            bayLength = static_cast<std::size_t>(p - bayFields);
        }
        previous = &row;
        p = putField(p, row.switchPort);
        *p++ = '\t';
        p = putField(p, row.nic);
        if (lineEndLength == 1) *p++ = *lineEnd;
        else p = static_cast<char*>(std::memcpy(p, lineEnd, lineEndLength)) + lineEndLength;
    }
    out.resize(static_cast<std::size_t>(p - begin));
}
