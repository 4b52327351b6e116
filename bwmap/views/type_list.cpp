// The type list's rows, read off the catalogue rows and the population's own offer rules.
#include "views/type_list.h"

#include <vector>

#include "control_ids.h"
#include "base/encoding.h"
#include "labels.h"
#include "population.h"

namespace {

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

}  // namespace

std::vector<TypeRow> typeRows(const BladeCatalogue& catalogue) {
    std::vector<TypeRow> rows;
    for (std::size_t row = 1; catalogue.row(row).name[0] != '\0'; ++row) rows.push_back(describe(catalogue.row(row)));
    return rows;
}
