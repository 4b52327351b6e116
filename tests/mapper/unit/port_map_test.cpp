// The port map read back from the label grid and written as tab-separated lines.
#include <gtest/gtest.h>

#include <string>

#include "mapper_test_support.h"
#include "port_map.h"

namespace {

// A label splits at its first ", " into switch port and NIC; fields lose their tabs and line ends.
TEST(PortMap, LabelsSplitAtTheFirstCommaAndFieldsKeepTheLineShape) {
    const BladeCatalogue catalogue = fixture::catalogueWithFile("\"Ta\tb\" 0x0 AABB 1212\n");
    struct Case { const char* label; const char* line; };
    const Case cases[] = {
        {"A-1, NIC A", "1\tTa b\t\tA-1\tNIC A\n"},
        {"B-1, MGT", "1\tTa b\t\tB-1\tMGT\n"},
        {"a, b, c", "1\tTa b\t\ta\tb, c\n"},
        {"end, ", "1\tTa b\t\tend\t\n"},
        {"no comma", "1\tTa b\t\tno comma\t\n"},
        {",", "1\tTa b\t\t,\t\n"},
        {"x\ny, z\t", "1\tTa b\t\tx y\tz \n"},
    };
    for (const Case& c : cases) {
        fixture::Enclosure e(catalogue);
        e.chooseBay(1, "Ta\tb");
        e.form.setText(ids::label(0, 0), c.label);
        for (int row = 1; row < ids::kLabelRows; ++row) e.form.setVisible(ids::label(row, 0), false);
        ShownModel shown(e.form);
        std::string out = "before\n";
        appendPortMapTsv(out, readPortMap(e.form, shown, catalogue), nullptr, "\n");
        EXPECT_EQ(out, std::string("before\n") + c.line) << c.label;
    }
}

// Every shown label is a row, with the enclosure's name first and the line end asked for.
TEST(PortMap, EveryShownLabelIsOneLine) {
    fixture::Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(1, "Fell");
    e.chooseBay(9, "Fell");
    e.chooseBay(2, "Tarn");
    ShownModel shown(e.form);
    const std::string name = "rack\t1";
    std::string out;
    appendPortMapTsv(out, readPortMap(e.form, shown, e.catalogue), &name, "\r\n");
    EXPECT_EQ(out,
              "rack 1\t1\tFell\t\tA-1\tNIC A\r\nrack 1\t1\tFell\t\tB-1\tNIC B\r\n"
              "rack 1\t9\tFell\t\tA-2\tNIC A\r\nrack 1\t9\tFell\t\tB-2\tNIC B\r\n"
              "rack 1\t2\tTarn\t\tA-3\tNIC A\r\nrack 1\t2\tTarn\t\tA-4\tNIC B\r\nrack 1\t2\tTarn\t\tB-4\tNIC C\r\n");
}

// Lines shorter than the writer's copy steps still repeat their first field and bay exactly.
TEST(PortMap, ShortLinesRepeatTheirFieldsExactly) {
    const BladeCatalogue catalogue = fixture::catalogueWithFile("\"T\" 0x0 AABB 1212\n");
    fixture::Enclosure e(catalogue);
    e.chooseBay(1, "T");
    e.form.setText(ids::label(0, 0), "a");
    e.form.setText(ids::label(1, 0), "b, c");
    e.form.setVisible(ids::label(2, 0), true);
    e.form.setText(ids::label(2, 0), "");
    for (int row = 3; row < ids::kLabelRows; ++row) e.form.setVisible(ids::label(row, 0), false);
    ShownModel shown(e.form);
    const std::string name = "r";
    std::string out;
    appendPortMapTsv(out, readPortMap(e.form, shown, catalogue), &name, "\n");
    EXPECT_EQ(out, "r\t1\tT\t\ta\t\nr\t1\tT\t\tb\tc\nr\t1\tT\t\t\t\n");
}

// Reading into a vector that holds another enclosure's longer map gives the fresh map's rows.
TEST(PortMap, ReadingIntoAKeptVectorReplacesEveryRow) {
    fixture::Enclosure full(fixture::builtInCatalogue());
    for (int bay = 1; bay <= 16; ++bay) full.chooseBay(bay, "Fell");
    fixture::Enclosure small(fixture::builtInCatalogue());
    small.chooseBay(2, "Tarn");
    ShownModel fullShown(full.form), smallShown(small.form);
    std::vector<PortMapRow> kept;
    readPortMap(full.form, fullShown, full.catalogue, kept);
    ASSERT_EQ(kept.size(), 32u);
    readPortMap(small.form, smallShown, small.catalogue, kept);
    std::string reused, fresh;
    appendPortMapTsv(reused, kept, nullptr, "\n");
    appendPortMapTsv(fresh, readPortMap(small.form, smallShown, small.catalogue), nullptr, "\n");
    EXPECT_EQ(reused, "2\tTarn\t\tA-3\tNIC A\n2\tTarn\t\tA-4\tNIC B\n2\tTarn\t\tB-4\tNIC C\n");
    EXPECT_EQ(reused, fresh);
}

// A window hands out each text in one buffer that its next read overwrites, so the map it gives
// keeps copies; they stay put when the map moves.
TEST(PortMap, AMapReadFromAWindowKeepsItsOwnTexts) {
    fixture::Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(1, "Tarn-M2");
    e.chooseColumnOs(0, "Windows");
    e.chooseBay(2, "Fell");
    e.chooseBay(10, "Fell");
    struct OneBuffer final : ShownForm {
        explicit OneBuffer(const FormModel& form) : model(form) {}
        bool shown(int id) override { return model.shown(id); }
        bool enabled(int id) override { return model.enabled(id); }
        std::string_view text(int id) override { return buffer.assign(model.text(id)); }
        ShownModel model;
        std::string buffer;
    } window(e.form);
    PortMap read = readPortMap(static_cast<EnclosureForm&>(e.form), window, e.catalogue);
    const PortMap map = std::move(read);
    std::vector<PortMapRow> inPlace;
    ShownModel shown(e.form);
    readPortMap(e.form, shown, e.catalogue, inPlace);
    std::string fromWindow, fromModel;
    appendPortMapTsv(fromWindow, map, nullptr, "\n");
    appendPortMapTsv(fromModel, inPlace, nullptr, "\n");
    EXPECT_EQ(fromWindow, fromModel);
    EXPECT_NE(fromModel.find("\tWindows\t"), std::string::npos) << fromModel;
}

}  // namespace
