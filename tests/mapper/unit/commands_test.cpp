// Form commands and colours: Fill With Same, enclosure switches, OS changes, quit states.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "mapper_test_support.h"
#include "rules.h"

namespace {

using fixture::Enclosure;

const char kOrderFileRows[] =
    "\"PlainHalf\" 0x800000 AB 11\n"
    "\"OrderHalf\" 0x800100 AABB 1212\n"
    "\"ShareHalf\" 0x1800000 AB 11\n";

void expectBays(const Enclosure& e, int first, int last, const std::string& text, bool enabled) {
    for (int bay = first; bay <= last; ++bay) {
        EXPECT_EQ(e.bayText(bay), text) << "bay " << bay;
        EXPECT_EQ(e.bayEnabled(bay), enabled) << "bay " << bay;
    }
}

// The road of one event, step by step as the form ends up.
TEST(Commands, BaySelectorChange) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(2, "Tarn-M2");
    EXPECT_EQ(e.columnOs(1), "1 on");
    expectBays(e, 3, 4, "", true);
    expectBays(e, 11, 12, "", true);
    expectBays(e, 10, 10, "", false);
    EXPECT_EQ(e.labels(1), "A-3, NIC A; A-4, NIC B; B-4, NIC C");
    EXPECT_EQ(e.shownRows(1), "0 1 2");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(staticColour(e.form, e.catalogue, ids::label(row, 1)), kUpperRowBlue) << row;
    EXPECT_TRUE(e.message().visible);
    EXPECT_EQ(e.message().text, "");
}

TEST(Commands, ReturnValuesAndIgnoredNotifications) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(1, "Tarn");
    const FormModel before = e.form;
    // Other selector notifications (focus, drop-down) and unknown identifiers do nothing.
    for (int id : {1000, 1008, 1083, 1087, 1118}) {
        EXPECT_FALSE(runCommand(e.form, e.catalogue, id, 3, e.quitState)) << id;
    }
    EXPECT_FALSE(runCommand(e.form, e.catalogue, 1, 0, e.quitState));
    EXPECT_FALSE(runCommand(e.form, e.catalogue, 1095, 0, e.quitState));
    EXPECT_TRUE(fixture::differences(before, e.form).empty());
    EXPECT_EQ(e.quitState, QUIT_RUNNING);

    EXPECT_FALSE(runCommand(e.form, e.catalogue, 1001, kSelectionChanged, e.quitState));
    EXPECT_FALSE(runCommand(e.form, e.catalogue, 1083, kSelectionChanged, e.quitState));
    EXPECT_FALSE(runCommand(e.form, e.catalogue, 1088, kSelectionChanged, e.quitState));
    EXPECT_TRUE(e.press(IDC_FILL_WITH_SAME));
}

TEST(Commands, CancelAndResetSetQuitStateAndKeepTheMessage) {
    struct Case { int id; int code; int quitState; };
    for (const Case& row : {Case{IDC_CANCEL, 0, QUIT_EXIT}, Case{IDC_RESET, 0, QUIT_RESET},
                            Case{IDC_CANCEL, 7, QUIT_EXIT}}) {
        SCOPED_TRACE(row.id);
        Enclosure e(fixture::builtInCatalogue());
        e.chooseEnclosure("Standard");
        e.chooseBay(1, "Tarn-M3");
        const std::string message = e.message().text;
        ASSERT_FALSE(message.empty());
        EXPECT_TRUE(runCommand(e.form, e.catalogue, row.id, row.code, e.quitState));
        EXPECT_EQ(e.quitState, row.quitState);
        EXPECT_EQ(e.message().text, message);
    }
}

TEST(Commands, EnclosureSwitches) {
    {
        Enclosure e(fixture::builtInCatalogue());
        e.chooseBay(1, "Fell");
        e.chooseBay(9, "Fell");
        e.chooseEnclosure("Standard");
        EXPECT_EQ(e.form.enclosureType, ENCLOSURE_STANDARD);
        for (int c = 0; c < ids::kColumns; ++c) {
            EXPECT_FALSE(e.form.control(ids::lowerBay(c)).visible) << c;
            EXPECT_FALSE(e.form.control(ids::lowerCaption(c)).visible) << c;
        }
        EXPECT_EQ(e.bayText(1), "");
        EXPECT_EQ(e.bayText(9), "");
        EXPECT_EQ(e.message().text, "");
        EXPECT_EQ(e.shownRows(0), "");
    }
    {
        Enclosure e(fixture::builtInCatalogue());
        e.chooseEnclosure("Standard");
        e.chooseBay(1, "Crag");
        e.chooseEnclosure("Enhanced");
        EXPECT_EQ(e.form.enclosureType, ENCLOSURE_ENHANCED);
        for (int c = 0; c < ids::kColumns; ++c) {
            EXPECT_TRUE(e.form.control(ids::lowerBay(c)).visible) << c;
            EXPECT_TRUE(e.form.control(ids::lowerCaption(c)).visible) << c;
        }
        EXPECT_EQ(e.bayText(1), "Crag");
        expectBays(e, 2, 4, "", false);
        expectBays(e, 9, 12, "", false);
        expectBays(e, 13, 16, "", true);
        EXPECT_EQ(e.labels(0), "A-1, NIC A; A-2, NIC B; B-2, NIC C; A-4, NIC D; B-4, NIC E");
    }
    {
        // Each bay is applied with its column's OS: a Windows column keeps Windows.
        Enclosure e(fixture::builtInCatalogue());
        e.chooseBay(3, "Tarn-M2");
        e.chooseColumnOs(2, "Windows");
        e.chooseEnclosure("Standard");
        EXPECT_EQ(e.columnOs(2), "0 on");
        EXPECT_EQ(e.labels(2), "B-6, NIC A; A-5, NIC B; B-5, MGT; A-6, NIC C");
    }
}

TEST(Commands, ColumnOsChange) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseDefaultOs("Windows");
    e.chooseBay(2, "Tarn-M2");
    EXPECT_EQ(e.labels(1), "B-4, NIC A; A-3, NIC B; A-4, NIC C");
    e.chooseColumnOs(1, "Linux");
    EXPECT_EQ(e.columnOs(1), "1 on");
    EXPECT_EQ(e.labels(1), "A-3, NIC A; A-4, NIC B; B-4, NIC C");
}

TEST(Commands, FillWithSame) {
    {
        Enclosure e(fixture::builtInCatalogue());
        const FormModel before = e.form;
        EXPECT_TRUE(e.press(IDC_FILL_WITH_SAME));
        EXPECT_EQ(fixture::differences(before, e.form), std::vector<int>{IDC_MESSAGE});
        EXPECT_TRUE(e.message().visible);
        EXPECT_EQ(e.message().text, "");
    }
    {
        Enclosure e(fixture::builtInCatalogue());
        e.chooseBay(2, "Tarn");
        e.chooseBay(6, "Tarn-M3");
        e.press(IDC_FILL_WITH_SAME);
        expectBays(e, 1, 8, "Tarn", true);
        expectBays(e, 9, 16, "", false);
        for (int c = 0; c < ids::kColumns; ++c) {
            EXPECT_EQ(e.form.control(ids::label(0, c)).text, "A-" + std::to_string(2 * c + 1) + ", NIC A") << c;
            EXPECT_EQ(e.shownRows(c), "0 1 2") << c;
        }
    }
    {
        Enclosure e(fixture::builtInCatalogue());
        e.chooseBay(1, "Crag");
        e.press(IDC_FILL_WITH_SAME);
        EXPECT_EQ(e.bayText(1), "Crag");
        EXPECT_EQ(e.bayText(5), "Crag");
        for (int bay : {2, 3, 4, 6, 7, 8}) {
            EXPECT_EQ(e.bayText(bay), "") << bay;
            EXPECT_FALSE(e.bayEnabled(bay)) << bay;
        }
        expectBays(e, 9, 16, "", false);
        EXPECT_EQ(e.shownRows(0), "0 1 2 3 4");
        EXPECT_EQ(e.shownRows(4), "0 1 2 3 4");
    }
    {
        Enclosure e(fixture::builtInCatalogue());
        e.chooseBay(11, "Fell");
        e.press(IDC_FILL_WITH_SAME);
        expectBays(e, 1, 16, "Fell", true);
        EXPECT_EQ(e.labels(7), "A-15, NIC A; B-15, NIC B; A-16, NIC A; B-16, NIC B");
    }
}

TEST(Commands, FillWithSameInStandardLeavesLowerBays) {
    const BladeCatalogue catalogue = fixture::catalogueWithFile(kOrderFileRows);
    {
        // A stale lower selection is not a source.
        Enclosure e(catalogue);
        e.chooseBay(9, "PlainHalf");
        e.chooseEnclosure("Standard");
        ASSERT_EQ(e.bayText(9), "PlainHalf");
        e.chooseBay(3, "Tarn");
        e.press(IDC_FILL_WITH_SAME);
        expectBays(e, 1, 8, "Tarn", true);
    }
    {
        // Nor are lower bays filled.
        Enclosure e(catalogue);
        e.chooseBay(9, "PlainHalf");
        e.chooseEnclosure("Standard");
        e.chooseBay(3, "PlainHalf");
        e.press(IDC_FILL_WITH_SAME);
        expectBays(e, 1, 8, "PlainHalf", true);
        EXPECT_EQ(e.bayText(9), "PlainHalf");
        for (int bay = 10; bay <= 16; ++bay) EXPECT_EQ(e.bayText(bay), "") << bay;
    }
}

TEST(Commands, FillWithSameTakesTheSourceColumnOs) {
    {
        Enclosure e(fixture::builtInCatalogue());
        e.chooseBay(1, "Tarn-M2");
        e.chooseColumnOs(0, "Windows");
        e.press(IDC_FILL_WITH_SAME);
        for (int c = 0; c < ids::kColumns; ++c) EXPECT_EQ(e.columnOs(c), "0 on") << c;
        EXPECT_EQ(e.labels(3), "B-8, NIC A; A-7, NIC B; A-8, NIC C");
    }
    {
        // A source in a lower bay alone has no column OS: the default OS is used.
        Enclosure e(fixture::catalogueWithFile(kOrderFileRows));
        e.chooseDefaultOs("Windows");
        e.chooseBay(9, "OrderHalf");
        ASSERT_EQ(e.columnOs(0), "-1 off");
        e.press(IDC_FILL_WITH_SAME);
        expectBays(e, 1, 16, "OrderHalf", true);
        for (int c = 0; c < ids::kColumns; ++c) EXPECT_EQ(e.columnOs(c), "0 on") << c;
    }
}

// A form whose reads of one selector's entries fail, like a failing CB_GETLBTEXT: the in-memory
// form behind every other operation.
struct UnreadableBay : EnclosureForm {
    FormModel model;
    int unreadable = 0;
    int getSelection(int id) override { return model.getSelection(id); }
    std::optional<std::string> getEntryText(int id, int index) override {
        if (id == unreadable) return std::nullopt;
        return model.getEntryText(id, index);
    }
    void setSelection(int id, int index) override { model.setSelection(id, index); }
    void addEntry(int id, const std::string& text) override { model.addEntry(id, text); }
    void setEnabled(int id, bool on) override { model.setEnabled(id, on); }
    void setVisible(int id, bool on) override { model.setVisible(id, on); }
    void setText(int id, std::string_view text) override { model.setText(id, text); }
    const Control& control(int id) const { return model.control(id); }
};

TEST(Colours, StaticColourRule) {
    const BladeCatalogue catalogue = fixture::catalogueWithFile(kOrderFileRows);
    Enclosure e(catalogue);
    e.chooseBay(1, "Fell");
    e.chooseBay(9, "Fell");
    e.chooseBay(5, "Crag");
    e.chooseBay(11, "Fell");
    e.chooseBay(4, "ShareHalf");
    e.chooseBay(12, "Fell");
    struct Case { int id; std::optional<std::uint32_t> colour; const char* what; };
    const Case cases[] = {
        {IDC_MESSAGE, kMessageRed, "message line"},
        {1101, kUpperRowBlue, "Bay 1"},
        {1108, kUpperRowBlue, "Bay 8"},
        {1109, kLowerRowGreen, "Bay 9"},
        {1116, kLowerRowGreen, "Bay 16"},
        {ids::label(0, 0), kUpperRowBlue, "Fell above, row 0"},
        {ids::label(4, 0), kLowerRowGreen, "Fell below, row 4"},
        {ids::label(5, 0), kLowerRowGreen, "Fell below, row 5"},
        {ids::label(4, 4), kUpperRowBlue, "Crag, row 4"},
        {ids::label(5, 2), kLowerRowGreen, "Fell in the lower bay alone"},
        {ids::label(4, 3), kLowerRowGreen, "half-height upper type decides"},
        {ids::label(4, 6), kUpperRowBlue, "column without a blade"},
        {IDC_INTRO_TEXT, std::nullopt, "intro text"},
        {IDC_ENCLOSURE_TYPE_CAPTION, std::nullopt, "enclosure caption"},
        {IDC_DEFAULT_OS_CAPTION, std::nullopt, "default OS caption"},
        {IDC_EXPLANATION, std::nullopt, "explanation"},
        {IDC_ORDERING_NOTE, std::nullopt, "ordering note"},
        {IDC_RESET, std::nullopt, "button"},
    };
    for (const Case& row : cases) EXPECT_EQ(staticColour(e.form, e.catalogue, row.id), row.colour) << row.what;

    // An entry that cannot be read: no answer.
    UnreadableBay form;
    populateForm(form, catalogue);
    form.setSelection(ids::upperBay(2), 1);
    form.unreadable = ids::upperBay(2);
    EXPECT_EQ(staticColour(form, catalogue, ids::label(0, 2)), std::nullopt);
    form.setSelection(ids::upperBay(2), -1);
    form.setSelection(ids::lowerBay(2), 1);
    form.unreadable = ids::lowerBay(2);
    EXPECT_EQ(staticColour(form, catalogue, ids::label(4, 2)), std::nullopt);

    // The pass passes such a column over and leaves its labels hidden.
    form.setSelection(ids::lowerBay(2), -1);
    form.setSelection(ids::upperBay(2), 1);
    form.setSelection(ids::upperBay(3), 1);
    form.unreadable = ids::upperBay(2);
    recomputeWithRules(form, catalogue);
    EXPECT_FALSE(form.control(ids::label(0, 2)).visible);
    EXPECT_TRUE(form.control(ids::label(0, 3)).visible);
}

}  // namespace
