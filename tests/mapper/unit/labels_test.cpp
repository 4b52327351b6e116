// Port labels: the worked examples through user actions, and the label edge cases.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "labels.h"
#include "mapper_test_support.h"
#include "rules.h"

namespace {

using fixture::Enclosure;
using Placements = std::vector<std::pair<int, std::string>>;

struct Example {
    const char* enclosure;
    const char* os;  // default OS chosen before the bays; "any" runs both
    Placements bays;
    int column;
    const char* labels;  // visible labels of the column, top down
    const char* rows;    // their rows
};

// Chooses the example's enclosure, default OS and bays as a user would; returns a name for it.
std::string place(Enclosure& e, const Example& example, const char* os) {
    e.chooseEnclosure(example.enclosure);
    e.chooseDefaultOs(os);
    std::string name = std::string(example.enclosure) + " " + os + ":";
    for (const auto& [bay, type] : example.bays) {
        e.chooseBay(bay, type);
        name += " bay " + std::to_string(bay) + " " + type;
    }
    return name;
}

// Every worked example with the built-in rows, reached the way a user reaches it.
TEST(Labels, WorkedExamples) {
    const Example examples[] = {
        {"Standard", "any", {{1, "Tarn"}}, 0, "A-1, NIC A; A-2, NIC B; B-1, MGT; B-2, NIC C", "0 1 2 3"},
        {"Enhanced", "any", {{1, "Tarn"}}, 0, "A-1, NIC A; A-2, NIC B; B-2, NIC C", "0 1 2"},
        {"Standard", "any", {{3, "Tarn"}}, 2, "A-5, NIC A; A-6, NIC B; B-5, MGT; B-6, NIC C", "0 1 2 3"},
        {"Enhanced", "any", {{3, "Tarn"}}, 2, "A-5, NIC A; A-6, NIC B; B-6, NIC C", "0 1 2"},
        {"Standard", "Windows", {{1, "Tarn-M2"}}, 0, "B-2, NIC A; A-1, NIC B; B-1, MGT; A-2, NIC C", "0 1 2 3"},
        {"Standard", "Linux", {{1, "Tarn-M2"}}, 0, "A-1, NIC A; A-2, NIC B; B-1, MGT; B-2, NIC C", "0 1 2 3"},
        {"Enhanced", "Windows", {{8, "Tarn-M2"}}, 7, "B-16, NIC A; A-15, NIC B; A-16, NIC C", "0 1 2"},
        {"Standard", "Windows", {{3, "Tarn +NIC upgrade"}}, 2, "A-6, NIC A; B-6, NIC B; B-5, MGT; A-5, NIC C", "0 1 2 3"},
        {"Enhanced", "Windows", {{3, "Tarn +NIC upgrade"}}, 2, "A-6, NIC A; B-6, NIC B; A-5, NIC C", "0 1 2"},
        {"Enhanced", "Windows", {{1, "Tarn-M3"}}, 0, "A-1, NIC A; A-2, NIC B; B-1, NIC C; B-2, NIC D", "0 1 2 3"},
        {"Enhanced", "Linux", {{1, "Tarn-M3"}}, 0, "A-1, NIC A; A-2, NIC B; B-2, NIC C; B-1, NIC D", "0 1 2 3"},
        {"Enhanced", "any", {{1, "Fell"}, {9, "Fell"}}, 0, "A-1, NIC A; B-1, NIC B; A-2, NIC A; B-2, NIC B", "0 1 4 5"},
        {"Enhanced", "any", {{11, "Fell"}}, 2, "A-6, NIC A; B-6, NIC B", "4 5"},
        {"Standard", "any", {{1, "Crag"}}, 0, "A-1, NIC A; A-2, NIC B; B-1, MGT; B-2, NIC C; A-4, NIC D; B-4, NIC E", "0 1 2 3 4 5"},
        {"Enhanced", "any", {{5, "Crag"}}, 4, "A-9, NIC A; A-10, NIC B; B-10, NIC C; A-12, NIC D; B-12, NIC E", "0 1 2 3 4"},
    };
    for (const Example& example : examples) {
        const std::string os = example.os;
        for (const char* chosenOs : {"Windows", "Linux"}) {
            if (os != "any" && os != chosenOs) continue;
            Enclosure e(fixture::builtInCatalogue());
            SCOPED_TRACE(place(e, example, chosenOs));
            EXPECT_EQ(e.labels(example.column), example.labels);
            EXPECT_EQ(e.shownRows(example.column), example.rows);
            EXPECT_EQ(e.message().text, "");
            EXPECT_TRUE(e.form.misuses().empty());
            for (int c = 0; c < ids::kColumns; ++c) {
                if (c == example.column) continue;
                EXPECT_EQ(e.shownRows(c), "") << "column " << c;
            }
        }
    }
}

TEST(Labels, EmptyEnclosure) {
    Enclosure e(fixture::builtInCatalogue());
    updateEnclosure(e.form, e.catalogue, kNoBay, -1);
    for (int c = 0; c < ids::kColumns; ++c) {
        EXPECT_EQ(e.shownRows(c), "") << c;
        EXPECT_EQ(e.form.control(ids::columnOs(c)).selection, -1) << c;
        EXPECT_FALSE(e.form.control(ids::columnOs(c)).enabled) << c;
    }
    EXPECT_TRUE(e.message().visible);
    EXPECT_EQ(e.message().text, "");
}

TEST(Labels, ColumnOsOrders) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseEnclosure("Standard");
    e.chooseBay(1, "Tarn-M2");  // default OS Linux
    EXPECT_EQ(e.form.control(ids::label(0, 0)).text, "A-1, NIC A");
    e.chooseColumnOs(0, "Windows");
    EXPECT_EQ(e.form.control(ids::label(0, 0)).text, "B-2, NIC A");

    // No column OS selection orders the ports as Linux does.
    e.chooseEnclosure("Enhanced");
    e.chooseBay(2, "Tarn-M3");
    e.chooseColumnOs(1, "Windows");
    EXPECT_EQ(e.labels(1), "A-3, NIC A; A-4, NIC B; B-3, NIC C; B-4, NIC D");
    e.form.setSelection(ids::columnOs(1), -1);
    recomputeWithRules(e.form, e.catalogue);
    EXPECT_EQ(e.labels(1), "A-3, NIC A; A-4, NIC B; B-4, NIC C; B-3, NIC D");
}

// Rows of a catalogue file whose wiring the label rules stretch: odd digits, few ports,
// half-height types of many ports.
const char kOddRows[] =
    "\"Short\" 0x0 AABB 12\n"
    "\"Odd\" 0x0 AABB 1x1z\n"
    "\"Duo\" 0x100 AB 12\n"
    "\"Tri\" 0x200 ABA 123\n"
    "\"Hexa\" 0x0 AB aB\n"
    "\"Bare\" 0x0\n"
    "\"Quad\" 0x800000 AABB 1212\n"
    "\"Wide\" 0x1808000 AAABBB 123123\n"
    "\"Pair\" 0x1808000 AB 33\n";

TEST(Labels, CatalogueRowsAtTheEdges) {
    const Example cases[] = {
        // A digit missing or not hexadecimal: the switch letter with "?" for the number.
        {"Enhanced", "Linux", {{1, "Short"}}, 0, "A-1, NIC A; A-2, NIC B; B-?, NIC C", "0 1 2"},
        {"Standard", "Linux", {{1, "Short"}}, 0, "A-1, NIC A; A-2, NIC B; B-?, MGT; B-?, NIC C", "0 1 2 3"},
        {"Enhanced", "Linux", {{2, "Odd"}}, 1, "A-3, NIC A; A-?, NIC B; B-?, NIC C", "0 1 2"},
        // An order flag on fewer than four ports: port order.
        {"Enhanced", "Windows", {{1, "Duo"}}, 0, "A-1, NIC A; B-2, NIC B", "0 1"},
        {"Standard", "Windows", {{1, "Tri"}}, 0, "A-1, NIC A; B-2, NIC B; A-3, MGT", "0 1 2"},
        // Hexadecimal digits of either case.
        {"Enhanced", "Linux", {{2, "Hexa"}}, 1, "A-12, NIC A; B-13, NIC B", "0 1"},
        // No ports, no labels.
        {"Enhanced", "Linux", {{1, "Bare"}}, 0, "", ""},
        // A lower bay has two rows: the rest of its labels are dropped.
        {"Enhanced", "Linux", {{10, "Quad"}}, 1, "A-4, NIC A; A-5, NIC B", "4 5"},
        // Upper labels reaching rows 4-5 are overwritten by the lower bay's.
        {"Enhanced", "Linux", {{1, "Wide"}, {9, "Wide"}}, 0,
         "A-1, NIC A; A-2, NIC B; A-3, NIC C; B-1, NIC D; A-2, NIC A; A-3, NIC B", "0 1 2 3 4 5"},
        // Two different half-height types that may share: both bays from the lower bay's type.
        {"Enhanced", "Linux", {{3, "Wide"}, {11, "Pair"}}, 2, "A-7, NIC A; B-7, NIC B; A-8, NIC A; B-8, NIC B", "0 1 4 5"},
        {"Enhanced", "Linux", {{3, "Fell"}, {11, "Pair"}}, 2, "A-7, NIC A; B-7, NIC B; A-8, NIC A; B-8, NIC B", "0 1 4 5"},
    };
    const BladeCatalogue catalogue = fixture::catalogueWithFile(kOddRows);
    for (const Example& row : cases) {
        Enclosure e(catalogue);
        SCOPED_TRACE(place(e, row, row.os));
        EXPECT_EQ(e.labels(row.column), row.labels);
        EXPECT_EQ(e.shownRows(row.column), row.rows);
        EXPECT_EQ(e.message().text, "");
    }
}

// The count agrees with the labels the walk writes, for every row in either bay and enclosure.
TEST(Labels, BayLabelCountIsTheNumberOfLabelsWritten) {
    const BladeCatalogue catalogue = fixture::catalogueWithFile(kOddRows);
    struct Case { const char* type; bool lowerBay; int enclosure; int count; };
    const Case cases[] = {
        {"Tarn", false, ENCLOSURE_STANDARD, 4}, {"Tarn", false, ENCLOSURE_ENHANCED, 3},
        {"Tarn-M3", false, ENCLOSURE_ENHANCED, 4}, {"Fell", true, ENCLOSURE_ENHANCED, 2},
        {"Crag", false, ENCLOSURE_STANDARD, 6}, {"Bare", false, ENCLOSURE_STANDARD, 0},
        {"Quad", true, ENCLOSURE_ENHANCED, 2}, {"Wide", false, ENCLOSURE_ENHANCED, 6},
    };
    for (const Case& c : cases) {
        const BladeType& type = catalogue.row(findByName(catalogue, c.type, 1));
        EXPECT_EQ(bayLabelCount(type, c.lowerBay, c.enclosure), c.count) << c.type << " lower " << c.lowerBay;
    }
    for (std::size_t row = 0; row + 1 < catalogue.rowCount(); ++row)
        for (const bool lowerBay : {false, true})
            for (const int enclosure : {ENCLOSURE_STANDARD, ENCLOSURE_ENHANCED}) {
                int written = 0;
                forEachBayLabel(catalogue.row(row), 3, lowerBay, OS_WINDOWS, enclosure, [&](int, std::string_view) { ++written; });
                EXPECT_EQ(bayLabelCount(catalogue.row(row), lowerBay, enclosure), written)
                    << catalogue.row(row).name << " lower " << lowerBay << " enclosure " << enclosure;
            }
}

TEST(Labels, PortLabelNeverExceedsItsTypeOrBuffer) {
    BladeType type{};
    std::snprintf(type.name, sizeof type.name, "Long");
    std::snprintf(type.portMap, sizeof type.portMap, "%s", "ABABABABABABABABABABABA");  // 23 ports
    std::snprintf(type.portDigits, sizeof type.portDigits, "%s", "FFFFFFFFFFFFFFFFFFFFFFF");
    type.flags = ORDER_VARIANT_A | PORT3_IS_NIC | HALF_HEIGHT;
    char nic = 'A';
    EXPECT_EQ(portLabel(type, 7, true, OS_WINDOWS, ENCLOSURE_ENHANCED, 22, nic), "A-30, NIC A");
    EXPECT_EQ(portLabel(type, 7, true, OS_WINDOWS, ENCLOSURE_ENHANCED, 23, nic), "") << "past the last port";
    EXPECT_EQ(nic, 'B');
}

}  // namespace
