// The label pass: the column walk, the column type and the text of every port label.
#include "labels.h"

#include <cstring>
#include <optional>

#include "form_model.h"

namespace {

constexpr int kThirdPort = 2;
constexpr int kOrderedPorts = 4;  // the order flags rearrange the first four ports

// Position read for port k, for the ports the order flags rearrange.
const int kPortOrder[kOrderedPorts] = {0, 1, 2, 3};
const int kVariantA[kOrderedPorts] = {3, 0, 2, 1};
const int kVariantB[kOrderedPorts] = {1, 3, 2, 0};
const int kVariantC[kOrderedPorts] = {0, 1, 3, 2};

int portPosition(const BladeType& type, std::size_t ports, int columnOs, int k) {
    if (k >= kOrderedPorts || ports < static_cast<std::size_t>(kOrderedPorts)) return k;
    const int* order = kPortOrder;
    if (columnOs == OS_WINDOWS) {
        if (type.flags & ORDER_VARIANT_B) order = kVariantB;
        else if (type.flags & ORDER_VARIANT_A) order = kVariantA;
    } else if (type.flags & ORDER_VARIANT_C) {
        order = kVariantC;
    }
    return order[k];
}

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

// Writes a non-negative number in decimal without leading zeros; returns the digit count. Switch
// ports have one or two digits.
std::size_t writeDecimal(int number, char* out) {
    if (number < 10) {
        out[0] = static_cast<char>('0' + number);
        return 1;
    }
    if (number < 100) {
        out[0] = static_cast<char>('0' + number / 10);
        out[1] = static_cast<char>('0' + number % 10);
        return 2;
    }
    char reversed[12];
    std::size_t count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    for (std::size_t i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
    return count;
}

// The third port of a blade is the management port in a Standard enclosure; in an Enhanced one
// it gets no label unless the type makes it a NIC there.
bool portLabelled(const BladeType& type, std::size_t ports, int enclosureType, int k) {
    if (k < 0 || static_cast<std::size_t>(k) >= ports) return false;
    return k != kThirdPort || enclosureType != ENCLOSURE_ENHANCED || (type.flags & PORT3_IS_NIC);
}

template <class Form>
void labelBay(Form& form, const BladeType& type, int column, bool lowerBay, int columnOs) {
    forEachBayLabel(type, column, lowerBay, columnOs, form.enclosureType, [&](int row, std::string_view label) {
        form.setText(ids::label(row, column), label);
        form.setVisible(ids::label(row, column), true);
    });
}

// The length of a fixed-width field, at most kFieldSize - 1: a few bytes, counted without a call.
std::size_t fieldLength(const char* field) {
    std::size_t length = 0;
    while (length < kFieldSize - 1 && field[length] != '\0') ++length;
    return length;
}

}  // namespace

std::size_t portCount(const BladeType& type) { return fieldLength(type.portMap); }

// A type with fewer than four ports enumerates in port order whatever its flags say: an order
// variant would send some of its ports to positions it does not have.
bool orderFlagsApply(const BladeType& type) { return portCount(type) >= kOrderedPorts; }

std::size_t portDigitCount(const BladeType& type) { return fieldLength(type.portDigits); }

// A port whose digit is missing (portDigits shorter than portMap) or not hexadecimal shows its
// switch letter with "?" for the number: the wiring is unknown, the port still takes its row and
// NIC letter.
std::string portLabel(const BladeType& type, int column, bool lowerBay, int columnOs,
                      int enclosureType, int k, char& nextNic) {
    char text[kLabelCapacity];
    const std::size_t length = writePortLabel(type, portCount(type), portDigitCount(type), column, lowerBay, columnOs,
                                              enclosureType, k, nextNic, text);
    return std::string(text, length);
}

int bayLabelCount(const BladeType& type, bool lowerBay, int enclosureType) {
    const std::size_t ports = portCount(type);
    int row = lowerBay ? ids::kFirstLowerLabelRow : 0;
    const int first = row;
    for (std::size_t k = 0; k < ports && row < ids::kLabelRows; ++k)
        if (portLabelled(type, ports, enclosureType, static_cast<int>(k))) ++row;
    return row - first;
}

std::size_t writePortLabel(const BladeType& type, std::size_t ports, std::size_t digits, int column, bool lowerBay,
                           int columnOs, int enclosureType, int k, char& nextNic, char* text) {
    if (!portLabelled(type, ports, enclosureType, k)) return 0;
    const bool thirdPort = k == kThirdPort;

    const int position = portPosition(type, ports, columnOs, k);
    const int digit = static_cast<std::size_t>(position) < digits ? hexValue(type.portDigits[position]) : -1;

    // Built by hand: the pass writes up to 64 labels, and formatted printing would dominate it.
    std::size_t length = 0;
    text[length++] = type.portMap[position];
    text[length++] = '-';
    if (digit < 0) {
        text[length++] = '?';
    } else {
        const int halfHeightShift = (lowerBay && (type.flags & HALF_HEIGHT)) ? 1 : 0;
        length += writeDecimal(digit + 2 * column + halfHeightShift, text + length);
    }
    if (thirdPort && enclosureType == ENCLOSURE_STANDARD) {
        std::memcpy(text + length, ", MGT", 5);
        return length + 5;
    }
    std::memcpy(text + length, ", NIC ", 6);
    length += 6;
    text[length++] = nextNic++;
    return length;
}

namespace {

enum class ColumnEnd { SETTLED, UNSETTLED, PASS_ENDED };

// One column of the pass. It reads and changes only its own column, except the group-of-four
// check on a column whose type has the flag: that column is left unsettled.
template <class Form>
ColumnEnd recomputeColumn(Form& form, const BladeCatalogue& catalogue, RecomputeChecks& checks, int c) {
    hideColumnLabels(form, ids::label(0, c));
    ColumnCheck column;
    column.column = c;
    // The texts the checks read; they stand for the whole column.
    decltype(readEntry(form, 0, 0)) upperEntry{}, lowerEntry{};

    const int upper = form.getSelection(ids::upperBay(c));
    if (upper < 0) {
        form.setSelection(ids::columnOs(c), -1);
        form.setEnabled(ids::columnOs(c), false);
    } else {
        upperEntry = readEntry(form, ids::upperBay(c), upper);
        if (!upperEntry) return ColumnEnd::SETTLED;
        column.upperFilled = true;
        column.upperText = *upperEntry;
        column.upperRow = entryRow(form, catalogue, ids::upperBay(c), upper, *upperEntry, 1);
        checks.fullHeight(form, catalogue, column);
    }

    const int lower = form.getSelection(ids::lowerBay(c));
    if (lower < 0) {
        if (!column.upperFilled) return ColumnEnd::SETTLED;
        column.columnRow = column.upperRow;
    } else {
        lowerEntry = readEntry(form, ids::lowerBay(c), lower);
        if (!lowerEntry) return ColumnEnd::SETTLED;
        column.lowerFilled = true;
        column.lowerText = *lowerEntry;
        column.lowerRow = entryRow(form, catalogue, ids::lowerBay(c), lower, *lowerEntry, 1);
        if (column.upperFilled && column.upperText != column.lowerText &&
            !checks.sharedColumn(form, catalogue, column))
            return ColumnEnd::PASS_ENDED;
        column.columnRow = column.lowerRow;
    }

    if (!checks.enhancedOnly(form, catalogue, column)) return ColumnEnd::PASS_ENDED;
    const BladeType& type = catalogue.row(column.columnRow);
    const ColumnEnd end = (type.flags & GROUP4_CLASS) ? ColumnEnd::UNSETTLED : ColumnEnd::SETTLED;
    const bool stillPlaced = checks.groupOfFour(form, catalogue, column);
    const int columnOs = form.getSelection(ids::columnOs(c));
    if (!stillPlaced) return end;

    if (column.upperFilled) labelBay(form, type, c, false, columnOs);
    if (column.lowerFilled) labelBay(form, type, c, true, columnOs);
    return end;
}

// A column that the form's record shows unchanged since the pass left it settled, with the same
// catalogue and enclosure type, is left as it is: working it again would change nothing.
template <class Form>
void recomputePass(Form& form, const BladeCatalogue& catalogue, RecomputeChecks& checks) {
    showMessage(form, "");
    ColumnRecord* const records = form.columnRecords();
    for (int c = 0; c < ids::kColumns; ++c) {
        ColumnRecord* record = records ? &records[c] : nullptr;
        if (record && record->settled && record->settledAt == record->changes &&
            record->catalogue == catalogue.serial() && record->enclosureType == form.enclosureType)
            continue;
        if (record) record->settled = false;
        const ColumnEnd end = recomputeColumn(form, catalogue, checks, c);
        if (end == ColumnEnd::PASS_ENDED) return;
        if (record && end == ColumnEnd::SETTLED) {
            record->settled = true;
            record->settledAt = record->changes;
            record->catalogue = catalogue.serial();
            record->enclosureType = form.enclosureType;
        }
    }
}

}  // namespace

void recomputeEnclosure(EnclosureForm& form, const BladeCatalogue& catalogue, RecomputeChecks& checks) {
    recomputePass(form, catalogue, checks);
}

void recomputeEnclosure(FormModel& form, const BladeCatalogue& catalogue, RecomputeChecks& checks) {
    recomputePass(form, catalogue, checks);
}
