// The label pass: turns bay and OS selections into the port label grid.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "form.h"

class FormModel;

// What the pass has read of one column when it reaches a check point.
struct ColumnCheck {
    int column = 0;
    bool upperFilled = false;     // the upper bay has a selection whose text could be read
    bool lowerFilled = false;     // likewise the lower bay (read after the full-height check)
    std::string_view upperText;   // the entries' texts, valid until the check returns
    std::string_view lowerText;
    std::size_t upperRow = 0;     // catalogue rows, found from row 1
    std::size_t lowerRow = 0;
    std::size_t columnRow = 0;    // the column type: the lower bay's when it holds a blade
};

// The placement checks at the fixed points of the pass. The defaults do nothing, so the pass
// alone labels every column; the placement rules supply the real ones.
struct RecomputeChecks {
    virtual ~RecomputeChecks() = default;
    // The upper bay holds a blade; may empty and disable the lower bay before it is read.
    virtual void fullHeight(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) {}
    // Both bays hold blades with different texts. False ends the pass.
    virtual bool sharedColumn(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) { return true; }
    // On the column type. False ends the pass.
    virtual bool enhancedOnly(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) { return true; }
    // On the column type; the pass goes on. False when the column's own blades were removed,
    // which leaves its labels hidden.
    virtual bool groupOfFour(EnclosureForm&, const BladeCatalogue&, const ColumnCheck&) { return true; }
};

// The pass over the eight columns. Blanks the message line first. The in-memory form has an
// overload of its own, the same pass with its operations called directly.
void recomputeEnclosure(EnclosureForm& form, const BladeCatalogue& catalogue, RecomputeChecks& checks);
void recomputeEnclosure(FormModel& form, const BladeCatalogue& catalogue, RecomputeChecks& checks);

// Room for any label text.
constexpr std::size_t kLabelCapacity = 32;

// The label of port k (enumeration order) of `type` standing in column `column`; empty when the
// port gets no label. `nextNic` moves on when the label uses a NIC letter.
std::string portLabel(const BladeType& type, int column, bool lowerBay, int columnOs,
                      int enclosureType, int k, char& nextNic);

// portLabel written into `out` (kLabelCapacity characters); returns its length, 0 for no label.
// `ports` and `digits` are the lengths of the type's portMap and portDigits.
std::size_t writePortLabel(const BladeType& type, std::size_t ports, std::size_t digits, int column, bool lowerBay,
                           int columnOs, int enclosureType, int k, char& nextNic, char* out);

// Number of ports of a type: the length of its portMap.
std::size_t portCount(const BladeType& type);
// Number of switch-port digits of a type: the length of its portDigits.
std::size_t portDigitCount(const BladeType& type);

// How many labels labelling one bay writes, without their texts: the calls forEachBayLabel makes.
int bayLabelCount(const BladeType& type, bool lowerBay, int enclosureType);

// The labels that labelling one bay writes, in order, with the grid row each one takes: from
// row 0 for an upper bay, row 4 for a lower one, ports without a label taking no row, and none
// past the last row. `write(int row, std::string_view text)` is called for each; the text lives
// until it returns.
template <typename Write>
void forEachBayLabel(const BladeType& type, int column, bool lowerBay, int columnOs, int enclosureType,
                     Write&& write) {
    const std::size_t ports = portCount(type);
    const std::size_t digits = portDigitCount(type);
    int row = lowerBay ? ids::kFirstLowerLabelRow : 0;
    char nextNic = 'A';
    char text[kLabelCapacity];
    for (std::size_t k = 0; k < ports && row < ids::kLabelRows; ++k) {
        const std::size_t length = writePortLabel(type, ports, digits, column, lowerBay, columnOs, enclosureType,
                                                  static_cast<int>(k), nextNic, text);
        if (length == 0) continue;
        write(row, std::string_view(text, length));
        ++row;
    }
}

// Whether the order flags rearrange the type's first ports: only a type of four ports or more.
bool orderFlagsApply(const BladeType& type);
