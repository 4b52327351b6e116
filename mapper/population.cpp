// Fills a freshly created form's selectors from the catalogue.
#include "population.h"

namespace {

int bayMask(const BladeType& type) { return static_cast<int>(type.flags & BAY_MASK); }

void addBayEntries(EnclosureForm& form, const BladeCatalogue& catalogue, int id, int column,
                   bool (*offered)(const BladeType&, int)) {
    form.addEntry(id, catalogue.row(0).name);  // "empty" in every bay
    for (std::size_t row = 1; catalogue.row(row).name[0] != '\0'; ++row)
        if (offered(catalogue.row(row), column)) form.addEntry(id, catalogue.row(row).name);
}

}  // namespace

bool offeredInUpperBay(const BladeType& type, int column) {
    return bayMask(type) == 0 || (bayMask(type) & (1 << column)) != 0;
}

// A half-height type is offered in the lower bay of every column whose upper bay its BAY_MASK
// allows (all columns for a mask of 0): the mask names columns, and a type meant for a column
// fits either of its bays. A full-height type is never offered below.
bool offeredInLowerBay(const BladeType& type, int column) {
    return (type.flags & HALF_HEIGHT) != 0 && offeredInUpperBay(type, column);
}

void populateForm(EnclosureForm& form, const BladeCatalogue& catalogue) {
    form.addEntry(IDC_ENCLOSURE_TYPE, "Standard");
    form.addEntry(IDC_ENCLOSURE_TYPE, "Enhanced");
    form.enclosureType = ENCLOSURE_ENHANCED;
    form.setSelection(IDC_ENCLOSURE_TYPE, ENCLOSURE_ENHANCED);

    for (int c = 0; c < ids::kColumns; ++c)
        addBayEntries(form, catalogue, ids::upperBay(c), c, offeredInUpperBay);
    for (int c = 0; c < ids::kColumns; ++c)
        addBayEntries(form, catalogue, ids::lowerBay(c), c, offeredInLowerBay);

    form.addEntry(IDC_DEFAULT_OS, "Windows");
    form.addEntry(IDC_DEFAULT_OS, "Linux");
    form.setSelection(IDC_DEFAULT_OS, OS_LINUX);

    for (int c = 0; c < ids::kColumns; ++c) {
        form.addEntry(ids::columnOs(c), "Windows");
        form.addEntry(ids::columnOs(c), "Linux");
    }
}
