// The complete mapper driven by a user's actions under Wine: labels, selectors, message line.
#include <gtest/gtest.h>

#include <map>

#include "mapper_driver.h"
#include "mapper_steps.h"

namespace {

// A user's action: choose `text` in selector `id`, or press button `id` when text is null.
struct Action {
    int id;
    const char* text;
};

// Label rows 0-5 of a column as shown; "" for a hidden label.
using Column = std::vector<std::string>;
// Columns not named must show no label at all.
using Grid = std::map<int, Column>;

Column labelsOf(const MapperProcess& mapper, int column) {
    Column out;
    for (int row = 0; row < 6; ++row) {
        int id = 1017 + 8 * row + column;
        out.push_back(mapper.visible(id) ? mapper.text(id) : "");
    }
    return out;
}

void act(MapperProcess& mapper, const std::vector<Action>& actions) {
    for (const Action& a : actions) {
        if (a.text == nullptr) {
            mapper.click(a.id);
        } else {
            ASSERT_TRUE(mapper.chooseText(a.id, a.text)) << a.id << " offers no \"" << a.text << "\"";
        }
    }
}

void expectGrid(const MapperProcess& mapper, const Grid& grid) {
    for (int c = 0; c < 8; ++c) {
        auto it = grid.find(c);
        Column want = it == grid.end() ? Column(6, "") : it->second;
        want.resize(6);
        EXPECT_EQ(labelsOf(mapper, c), want) << "labels of column " << c;
    }
}

// The message line: visible with this text, or hidden when `text` is null.
void expectMessage(const MapperProcess& mapper, const char* text) {
    if (text == nullptr) {
        EXPECT_FALSE(mapper.visible(1095)) << "message line";
    } else {
        EXPECT_TRUE(mapper.visible(1095)) << "message line";
        EXPECT_EQ(mapper.text(1095), text);
    }
}

// Bay selections ("" for none) and enabled states of the 16 bays, bay 1 first.
void expectBays(const MapperProcess& mapper, const std::vector<std::string>& selected,
                const std::string& enabled) {
    for (int bay = 0; bay < 16; ++bay) {
        int id = bay < 8 ? 1000 + bay : 1008 + bay - 8;
        EXPECT_EQ(mapper.selected(id), selected[static_cast<std::size_t>(bay)]) << "bay " << bay + 1;
        EXPECT_EQ(mapper.enabled(id), enabled[static_cast<std::size_t>(bay)] == '1') << "bay " << bay + 1 << " enabled";
    }
}

struct LabelCase {
    const char* name;
    std::vector<Action> actions;
    Grid grid;
};

// The worked examples of the label texts, each reached by a user's choices.
TEST(Labels, WorkedExamplesReachedByUserChoices) {
    const Action standard{1083, "Standard"};
    const Action windows{1118, "Windows"};
    const LabelCase cases[] = {
        {"Tarn in bay 1, Standard", {standard, {1000, "Tarn"}},
         {{0, {"A-1, NIC A", "A-2, NIC B", "B-1, MGT", "B-2, NIC C"}}}},
        {"Tarn in bay 1, Enhanced", {{1000, "Tarn"}}, {{0, {"A-1, NIC A", "A-2, NIC B", "B-2, NIC C"}}}},
        {"Tarn in bay 3, Standard", {standard, {1002, "Tarn"}},
         {{2, {"A-5, NIC A", "A-6, NIC B", "B-5, MGT", "B-6, NIC C"}}}},
        {"Tarn in bay 3, Enhanced", {{1002, "Tarn"}}, {{2, {"A-5, NIC A", "A-6, NIC B", "B-6, NIC C"}}}},
        {"Tarn-M2 in bay 1, Standard, Windows by default OS", {standard, windows, {1000, "Tarn-M2"}},
         {{0, {"B-2, NIC A", "A-1, NIC B", "B-1, MGT", "A-2, NIC C"}}}},
        {"Tarn-M2 in bay 1, Standard, Linux", {standard, {1000, "Tarn-M2"}},
         {{0, {"A-1, NIC A", "A-2, NIC B", "B-1, MGT", "B-2, NIC C"}}}},
        {"Tarn-M2 in bay 8, Enhanced, Windows by column OS", {{1007, "Tarn-M2"}, {1094, "Windows"}},
         {{7, {"B-16, NIC A", "A-15, NIC B", "A-16, NIC C"}}}},
        {"Tarn +NIC upgrade in bay 3, Standard, Windows", {standard, windows, {1002, "Tarn +NIC upgrade"}},
         {{2, {"A-6, NIC A", "B-6, NIC B", "B-5, MGT", "A-5, NIC C"}}}},
        {"Tarn +NIC upgrade in bay 3, Enhanced, Windows", {windows, {1002, "Tarn +NIC upgrade"}},
         {{2, {"A-6, NIC A", "B-6, NIC B", "A-5, NIC C"}}}},
        {"Tarn-M3 in bay 1, Enhanced, Windows", {windows, {1000, "Tarn-M3"}},
         {{0, {"A-1, NIC A", "A-2, NIC B", "B-1, NIC C", "B-2, NIC D"}}}},
        {"Tarn-M3 in bay 1, Enhanced, Linux", {{1000, "Tarn-M3"}},
         {{0, {"A-1, NIC A", "A-2, NIC B", "B-2, NIC C", "B-1, NIC D"}}}},
        {"Fell in bays 1 and 9", {{1000, "Fell"}, {1008, "Fell"}},
         {{0, {"A-1, NIC A", "B-1, NIC B", "", "", "A-2, NIC A", "B-2, NIC B"}}}},
        {"Fell in bay 11 alone", {{1010, "Fell"}}, {{2, {"", "", "", "", "A-6, NIC A", "B-6, NIC B"}}}},
        {"Crag in bay 1, Standard", {standard, {1000, "Crag"}},
         {{0, {"A-1, NIC A", "A-2, NIC B", "B-1, MGT", "B-2, NIC C", "A-4, NIC D", "B-4, NIC E"}}}},
        {"Crag in bay 5, Enhanced", {{1004, "Crag"}},
         {{4, {"A-9, NIC A", "A-10, NIC B", "B-10, NIC C", "A-12, NIC D", "B-12, NIC E"}}}},
    };
    for (const LabelCase& row : cases) {
        SCOPED_TRACE(row.name);
        MapperProcess mapper;
        ASSERT_TRUE(mapper.start());
        act(mapper, row.actions);
        expectGrid(mapper, row.grid);
        expectMessage(mapper, "");
        endNormally(mapper);
    }
}

TEST(Placement, RoadOfOneEventTarnM2InBay2) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    act(mapper, {{1001, "Tarn-M2"}});
    EXPECT_EQ(mapper.selected(1088), "Linux");
    EXPECT_TRUE(mapper.enabled(1088));
    expectBays(mapper, {"", "Tarn-M2", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
               "1111111110111111");  // bay 10 under the full-height blade
    expectGrid(mapper, {{1, {"A-3, NIC A", "A-4, NIC B", "B-4, NIC C"}}});
    expectMessage(mapper, "");
    // The column OS choice reorders the same blade's labels.
    act(mapper, {{1088, "Windows"}});
    expectGrid(mapper, {{1, {"B-4, NIC A", "A-3, NIC B", "A-4, NIC C"}}});
    act(mapper, {{1088, "Linux"}});
    expectGrid(mapper, {{1, {"A-3, NIC A", "A-4, NIC B", "B-4, NIC C"}}});
    endNormally(mapper);
}

TEST(Placement, CragInBay1AndItsReplacement) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    act(mapper, {{1001, "Tarn-M2"}, {1000, "Crag"}});
    expectBays(mapper, {"Crag", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
               "1000111100001111");
    for (int os = 1087; os <= 1090; ++os) {
        EXPECT_EQ(mapper.selection(os), -1) << os;
        EXPECT_FALSE(mapper.enabled(os)) << os;
    }
    expectGrid(mapper, {{0, {"A-1, NIC A", "A-2, NIC B", "B-2, NIC C", "A-4, NIC D", "B-4, NIC E"}}});

    act(mapper, {{1000, "Tarn"}});
    expectBays(mapper, {"Tarn", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
               "1111111101111111");  // bay 9 again disabled, now under the full-height Tarn
    expectGrid(mapper, {{0, {"A-1, NIC A", "A-2, NIC B", "B-2, NIC C"}}});
    endNormally(mapper);
}

TEST(Placement, EnhancedOnlyTypeInStandardIsRefused) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    act(mapper, {{1083, "Standard"}, {1002, "Tarn"}, {1002, "Tarn-M3"}});
    EXPECT_EQ(mapper.selection(1002), -1);
    expectMessage(mapper, "Tarn-M3 blades must be in an enhanced (high density) enclosure.");
    expectGrid(mapper, {});
    endNormally(mapper);
}

TEST(Placement, SwitchToStandardWithFellAboveAndBelow) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    act(mapper, {{1000, "Fell"}, {1008, "Fell"}, {1083, "Standard"}});
    for (int c = 0; c < 8; ++c) {
        EXPECT_FALSE(mapper.visible(1008 + c)) << "lower bay selector " << c;
        EXPECT_FALSE(mapper.visible(1109 + c)) << "lower caption " << c;
    }
    EXPECT_EQ(mapper.selection(1000), -1);
    EXPECT_EQ(mapper.selection(1008), -1);
    expectMessage(mapper, "");
    expectGrid(mapper, {});
    endNormally(mapper);
}

TEST(Placement, SwitchToEnhancedWithCragInBay1) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    act(mapper, {{1083, "Standard"}, {1000, "Crag"}, {1083, "Enhanced"}});
    for (int c = 0; c < 8; ++c) {
        EXPECT_TRUE(mapper.visible(1008 + c)) << "lower bay selector " << c;
        EXPECT_TRUE(mapper.visible(1109 + c)) << "lower caption " << c;
    }
    expectBays(mapper, {"Crag", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""},
               "1000111100001111");
    expectGrid(mapper, {{0, {"A-1, NIC A", "A-2, NIC B", "B-2, NIC C", "A-4, NIC D", "B-4, NIC E"}}});
    endNormally(mapper);
}

struct FillCase {
    const char* name;
    std::vector<Action> actions;  // Fill With Same is pressed after these
    std::vector<std::string> bays;
    std::string enabled;
};

TEST(FillWithSame, CopiesTheFirstPlacedTypeBayByBay) {
    const Action fill{1096, nullptr};
    const std::vector<std::string> none(16, "");
    const FillCase cases[] = {
        {"no blade anywhere", {fill}, none, "1111111111111111"},
        {"Tarn in bay 2, Tarn-M3 in bay 6", {{1001, "Tarn"}, {1005, "Tarn-M3"}, fill},
         {"Tarn", "Tarn", "Tarn", "Tarn", "Tarn", "Tarn", "Tarn", "Tarn", "", "", "", "", "", "", "", ""},
         "1111111100000000"},
        {"Crag in bay 1", {{1000, "Crag"}, fill},
         {"Crag", "", "", "", "Crag", "", "", "", "", "", "", "", "", "", "", ""}, "1000100000000000"},
        {"Fell in bay 11 alone", {{1010, "Fell"}, fill}, std::vector<std::string>(16, "Fell"),
         "1111111111111111"},
    };
    for (const FillCase& row : cases) {
        SCOPED_TRACE(row.name);
        MapperProcess mapper;
        ASSERT_TRUE(mapper.start());
        act(mapper, row.actions);
        expectBays(mapper, row.bays, row.enabled);
        expectMessage(mapper, "");
        endNormally(mapper);
    }
}

TEST(FillWithSame, OsDependentSourceCarriesItsColumnOs) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    act(mapper, {{1001, "Tarn-M2"}, {1088, "Windows"}, {1096, nullptr}});
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(mapper.selected(1087 + c), "Windows") << "column " << c;
        EXPECT_TRUE(mapper.enabled(1087 + c)) << "column " << c;
    }
    EXPECT_EQ(mapper.selected(1118), "Linux") << "the default OS is left alone";
    expectGrid(mapper, {{0, {"B-2, NIC A", "A-1, NIC B", "A-2, NIC C"}},
                        {1, {"B-4, NIC A", "A-3, NIC B", "A-4, NIC C"}},
                        {2, {"B-6, NIC A", "A-5, NIC B", "A-6, NIC C"}},
                        {3, {"B-8, NIC A", "A-7, NIC B", "A-8, NIC C"}},
                        {4, {"B-10, NIC A", "A-9, NIC B", "A-10, NIC C"}},
                        {5, {"B-12, NIC A", "A-11, NIC B", "A-12, NIC C"}},
                        {6, {"B-14, NIC A", "A-13, NIC B", "A-14, NIC C"}},
                        {7, {"B-16, NIC A", "A-15, NIC B", "A-16, NIC C"}}});
    endNormally(mapper);
}

// Types from a catalogue file: a group-of-four type, half-height pairs and a half-height
// type that may stand in a Standard enclosure.
const char* const kCatalogueFile =
    "\"Ridge\" 0x4000000 AABB 1212\n"
    "\"ShareA\" 0x1800000 AB 11\n"
    "\"PlainB\" 0x800000 AB 11\n";

TEST(CatalogueFile, RidgeRemovesTarnFromItsGroupOfFour) {
    ScratchDir dir("ridge");
    dir.writeFile("bwplan.ini", kCatalogueFile);
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    act(mapper, {{1004, "Tarn"}, {1005, "Ridge"}});
    expectMessage(mapper, "Tarn blade cannot be in same 4 slot group with a Ridge blade.");
    EXPECT_EQ(mapper.selection(1004), -1);
    EXPECT_EQ(mapper.selected(1005), "Ridge");
    expectGrid(mapper, {{5, {"A-11, NIC A", "A-12, NIC B", "B-12, NIC C"}}});
    endNormally(mapper);
}

TEST(CatalogueFile, HalfHeightTypesOfDifferentShareClassRefused) {
    ScratchDir dir("share");
    dir.writeFile("bwplan.ini", kCatalogueFile);
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    act(mapper, {{1001, "Tarn"}, {1010, "PlainB"}, {1002, "ShareA"}});
    expectMessage(mapper, "ShareA blade cannot share a slot with a PlainB blade.");
    EXPECT_EQ(mapper.selection(1002), -1);
    EXPECT_EQ(mapper.selection(1010), -1);
    EXPECT_FALSE(mapper.enabled(1089));
    expectGrid(mapper, {{1, {"A-3, NIC A", "A-4, NIC B", "B-4, NIC C"}}});
    endNormally(mapper);
}

TEST(CatalogueFile, StandardFillIgnoresAStaleLowerSelection) {
    ScratchDir dir("stale");
    dir.writeFile("bwplan.ini", kCatalogueFile);
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    // PlainB below bay 2 survives the switch (half height, not enhanced-only), hidden.
    act(mapper, {{1009, "PlainB"}, {1083, "Standard"}});
    ASSERT_EQ(mapper.selected(1009), "PlainB");
    act(mapper, {{1002, "Tarn"}, {1096, nullptr}});
    for (int c = 0; c < 8; ++c) EXPECT_EQ(mapper.selected(1000 + c), "Tarn") << "bay " << c + 1;
    endNormally(mapper);
}

}  // namespace
