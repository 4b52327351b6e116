// The label pass: turns bay and OS selections into the port label grid.
#pragma once

#include <string>

#include "catalogue.h"
#include "form.h"

// The placement checks that run at fixed points of the pass. The label pass alone passes
// hooks that do nothing; the placement rules supply the real ones.
struct ColumnCheck {
    int column;
    bool upperFilled;           // upper bay had a selection
    bool lowerFilled;           // lower bay has a selection (after the full-height check)
    std::string upperText;
    std::string lowerText;
    std::size_t upperRow;       // catalogue rows found from row 1
    std::size_t lowerRow;
    std::size_t columnRow;      // the column type
};

struct RecomputeChecks {
    virtual ~RecomputeChecks() = default;
    // After the upper bay was read (it holds a blade): may empty and disable the lower bay.
    virtual void fullHeight(EnclosureForm&, const BladeCatalogue&, ColumnCheck&) {}
    // Both bays filled with different texts. Returns false to end the pass.
    virtual bool sharedColumn(EnclosureForm&, const BladeCatalogue&, ColumnCheck&) { return true; }
    // On the column type. Returns false to end the pass.
    virtual bool enhancedOnly(EnclosureForm&, const BladeCatalogue&, ColumnCheck&) { return true; }
    // On the column type; the pass goes on.
    virtual void groupOfFour(EnclosureForm&, const BladeCatalogue&, ColumnCheck&) {}
};

// The pass over the eight columns. Blanks the message line first.
void recomputeEnclosure(EnclosureForm& form, const BladeCatalogue& catalogue,
                        RecomputeChecks& checks);

// Label text of port k (enumeration order) of type `type` in column c; empty when the port
// gets no label. `nextNic` advances when a NIC letter is used.
std::string portLabel(const BladeType& type, int column, bool lowerBay, int columnOs,
                      int enclosureType, int k, char& nextNic);
