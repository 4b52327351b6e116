// Placement rules: the bay edge cases, each refusal's leftovers, spans at the enclosure's edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mapper_test_support.h"
#include "rules.h"

namespace {

using fixture::Enclosure;

// Half-height and group rows of a catalogue file.
const char kFileRows[] =
    "\"ShareHalf\" 0x1800000 AB 11\n"
    "\"PlainHalf\" 0x800000 AB 11\n"
    "\"Ridge\" 0x4000000 AABB 1212\n"
    "\"GroupHalf\" 0x4800000 AB 11\n"
    "\"OtherHalf\" 0x800000 AB 22\n"
    "\"EdgeSpan\" 0x40080 AABB 1212\n"
    "\"HalfInMask\" 0x400004 AB 11\n";

void expectBays(const Enclosure& e, const std::vector<int>& bays, const std::string& text, bool enabled) {
    for (int bay : bays) {
        EXPECT_EQ(e.bayText(bay), text) << "bay " << bay;
        EXPECT_EQ(e.bayEnabled(bay), enabled) << "bay " << bay;
    }
}

// A text no pass would write; a pass that visits the column replaces or hides it.
void markLabel(Enclosure& e, int column) {
    e.form.setText(ids::label(0, column), "stale");
    e.form.setVisible(ids::label(0, column), true);
}

TEST(Rules, EmptyChoiceClearsTheBay) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(3, "Tarn-M2");
    ASSERT_FALSE(e.bayEnabled(11));
    ASSERT_EQ(e.columnOs(2), "1 on");
    e.chooseBay(3, "empty");
    EXPECT_EQ(e.bayText(3), "");
    EXPECT_EQ(e.shownRows(2), "");
    EXPECT_EQ(e.columnOs(2), "-1 off");
    expectBays(e, {3, 4, 11, 12}, "", true);
}

TEST(Rules, CragSpansAndItsReplacement) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(9, "Fell");
    e.chooseBay(2, "Tarn-M2");
    e.chooseBay(11, "Fell");
    e.chooseBay(4, "Fell");
    e.chooseBay(12, "Fell");
    e.chooseBay(1, "Crag");
    EXPECT_EQ(e.bayText(1), "Crag");
    expectBays(e, {9, 2, 3, 4, 10, 11, 12}, "", false);
    for (int c = 0; c <= 3; ++c) EXPECT_EQ(e.columnOs(c), "-1 off") << c;
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(e.shownRows(c), "") << c;
    EXPECT_EQ(e.labels(0), "A-1, NIC A; A-2, NIC B; B-2, NIC C; A-4, NIC D; B-4, NIC E");
    expectBays(e, {5, 6, 13}, "", true);

    e.chooseBay(1, "Tarn");
    expectBays(e, {2, 3, 4, 10, 11, 12}, "", true);
    expectBays(e, {9}, "", false);  // under the full-height Tarn
    EXPECT_EQ(e.labels(0), "A-1, NIC A; A-2, NIC B; B-2, NIC C");
}

TEST(Rules, OsDependentTypeTakesTheDefaultOs) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(2, "Tarn-M2");
    EXPECT_EQ(e.columnOs(1), "1 on");
    EXPECT_EQ(e.labels(1), "A-3, NIC A; A-4, NIC B; B-4, NIC C");
    e.chooseColumnOs(1, "Windows");
    EXPECT_EQ(e.labels(1), "B-4, NIC A; A-3, NIC B; A-4, NIC C");
    // A bay change takes the default OS again, whatever the column showed.
    e.chooseBay(2, "Tarn +NIC upgrade");
    e.chooseBay(2, "Tarn-M2");
    EXPECT_EQ(e.columnOs(1), "1 on");
}

TEST(Rules, EnhancedOnlyRefusedOnSelection) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseEnclosure("Standard");
    e.chooseBay(1, "Crag");
    e.chooseBay(6, "Tarn");
    markLabel(e, 6);
    const FormModel before = e.form;
    e.chooseBay(1, "Tarn-M3");
    EXPECT_EQ(e.message().text, "Tarn-M3 blades must be in an enhanced (high density) enclosure.");
    EXPECT_EQ(e.bayText(1), "");
    EXPECT_EQ(e.shownRows(0), "");
    expectBays(e, {2, 3, 4}, "", true);
    // Nothing else changes: only bays 1-4, the labels of column 0 and the message line differ.
    std::vector<int> allowed = {1000, 1001, 1002, 1003, IDC_MESSAGE};
    for (int row = 0; row < ids::kLabelRows; ++row) allowed.push_back(ids::label(row, 0));
    for (int id : fixture::differences(before, e.form))
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), id), allowed.end()) << id;
    // No recompute ran: it would have hidden the marked label.
    EXPECT_EQ(e.form.control(ids::label(0, 6)).text, "stale");
}

TEST(Rules, FullHeightClearsTheLowerBayWithoutMessage) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(4, "Fell");
    e.chooseBay(12, "Fell");
    ASSERT_EQ(e.bayText(12), "Fell");
    e.chooseBay(4, "Tarn");
    expectBays(e, {12}, "", false);
    EXPECT_EQ(e.message().text, "");
    EXPECT_EQ(e.labels(3), "A-7, NIC A; A-8, NIC B; B-8, NIC C");
}

TEST(Rules, SwitchToStandardRefusesQuietly) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(2, "Tarn-M3");
    e.chooseEnclosure("Standard");
    EXPECT_EQ(e.bayText(2), "");
    EXPECT_EQ(e.message().text, "");
    EXPECT_TRUE(e.message().visible);
    EXPECT_EQ(e.shownRows(1), "");
}

// R2 in both orientations: the SHARE_CLASS type is named first.
TEST(Rules, SharedColumnRefusal) {
    struct Case { const char* upper; const char* lower; const char* sentence; };
    const Case cases[] = {
        {"ShareHalf", "PlainHalf", "ShareHalf blade cannot share a slot with a PlainHalf blade."},
        {"PlainHalf", "ShareHalf", "ShareHalf blade cannot share a slot with a PlainHalf blade."},
        {"Fell", "PlainHalf", "Fell blade cannot share a slot with a PlainHalf blade."},
        {"PlainHalf", "OtherHalf", nullptr},  // both without SHARE_CLASS: allowed
        {"ShareHalf", "Fell", nullptr},
    };
    const BladeCatalogue catalogue = fixture::catalogueWithFile(kFileRows);
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.upper) + " over " + row.lower);
        Enclosure e(catalogue);
        e.chooseBay(6, "Tarn");
        markLabel(e, 6);
        e.chooseBay(11, row.lower);
        e.form.setText(ids::label(0, 6), "stale");
        e.chooseBay(3, row.upper);
        if (!row.sentence) {
            EXPECT_EQ(e.message().text, "");
            EXPECT_EQ(e.shownRows(2), "0 1 4 5");
            continue;
        }
        EXPECT_EQ(e.message().text, row.sentence);
        expectBays(e, {3, 11}, "", true);
        EXPECT_EQ(e.columnOs(2), "-1 off");
        EXPECT_EQ(e.shownRows(2), "");
        EXPECT_EQ(e.form.control(ids::label(0, 6)).text, "stale") << "the pass ended";
        EXPECT_EQ(e.labels(5), "A-11, NIC A; A-12, NIC B; B-12, NIC C") << "columns right keep their labels";
    }
}

// R3 cannot be reached by the commands (they refuse on selection and on the switch), so the
// form is set up directly.
TEST(Rules, EnhancedOnlyInsideThePass) {
    Enclosure e(fixture::builtInCatalogue());
    e.chooseBay(5, "Tarn-M2");
    e.chooseBay(3, "Tarn-M2");
    markLabel(e, 6);
    e.form.enclosureType = ENCLOSURE_STANDARD;
    e.place(2, "Tarn-M3");
    recomputeWithRules(e.form, e.catalogue);
    EXPECT_EQ(e.message().text, "Tarn-M3 blades must be in an enhanced (high density) enclosure.");
    EXPECT_EQ(e.bayText(2), "");
    EXPECT_EQ(e.columnOs(1), "-1 off");
    EXPECT_EQ(e.form.control(ids::label(0, 6)).text, "stale");
    EXPECT_EQ(e.columnOs(2), "1 on") << "column 2 not reached";

    // Lower bay filled: only it is cleared; the upper bay and column OS stay.
    Enclosure f(fixture::catalogueWithFile(kFileRows));
    f.chooseBay(2, "ShareHalf");
    f.form.setSelection(ids::columnOs(1), OS_WINDOWS);
    f.form.setEnabled(ids::columnOs(1), true);
    f.form.enclosureType = ENCLOSURE_STANDARD;
    f.place(10, "Fell");
    markLabel(f, 6);
    recomputeWithRules(f.form, f.catalogue);
    EXPECT_EQ(f.message().text, "Fell blades must be in an enhanced (high density) enclosure.");
    EXPECT_EQ(f.bayText(10), "");
    EXPECT_EQ(f.bayText(2), "ShareHalf");
    EXPECT_EQ(f.columnOs(1), "0 on");
    EXPECT_EQ(f.shownRows(1), "");
    EXPECT_EQ(f.form.control(ids::label(0, 6)).text, "stale");
}

TEST(Rules, GroupOfFour) {
    const BladeCatalogue catalogue = fixture::catalogueWithFile(kFileRows);
    {
        Enclosure e(catalogue);
        e.chooseBay(5, "Tarn");
        e.chooseBay(6, "Ridge");
        EXPECT_EQ(e.message().text, "Tarn blade cannot be in same 4 slot group with a Ridge blade.");
        EXPECT_EQ(e.bayText(5), "");
        EXPECT_EQ(e.shownRows(4), "");
        EXPECT_EQ(e.labels(5), "A-11, NIC A; A-12, NIC B; B-12, NIC C");
    }
    {
        // Several removals, each with its sentence; the last stays. The other group is untouched.
        Enclosure e(catalogue);
        e.chooseBay(1, "Tarn");
        e.chooseBay(5, "Tarn-M2");
        e.chooseBay(7, "Tarn +NIC upgrade");
        e.chooseBay(8, "Tarn");
        e.chooseBay(6, "Ridge");
        EXPECT_EQ(e.message().text, "Tarn blade cannot be in same 4 slot group with a Ridge blade.");
        expectBays(e, {5, 7, 8}, "", true);
        for (int bay : {13, 15, 16}) EXPECT_EQ(e.bayText(bay), "") << bay;
        for (int c : {4, 6, 7}) {
            EXPECT_EQ(e.columnOs(c), "-1 off") << c;
            EXPECT_EQ(e.shownRows(c), "") << c;
        }
        EXPECT_EQ(e.bayText(1), "Tarn");
        EXPECT_EQ(e.shownRows(0), "0 1 2");
    }
    {
        // Only upper bays are visited.
        Enclosure e(catalogue);
        e.chooseBay(13, "Fell");
        e.chooseBay(6, "Ridge");
        EXPECT_EQ(e.bayText(13), "Fell");
        EXPECT_EQ(e.message().text, "");
        EXPECT_EQ(e.shownRows(4), "4 5");
    }
    {
        // The column's own upper blade lacks the flag: both bays go and the column stays unlabelled.
        Enclosure e(catalogue);
        e.chooseBay(11, "GroupHalf");
        e.chooseBay(3, "PlainHalf");
        EXPECT_EQ(e.message().text, "PlainHalf blade cannot be in same 4 slot group with a GroupHalf blade.");
        expectBays(e, {3, 11}, "", true);
        EXPECT_EQ(e.shownRows(2), "");
    }
}

// A file type spanning four columns offered in bay 8: the span ends at the last column.
TEST(Rules, SpanEndsAtTheLastColumn) {
    Enclosure e(fixture::catalogueWithFile(kFileRows));
    e.chooseBay(7, "Tarn");
    e.chooseBay(8, "EdgeSpan");
    EXPECT_TRUE(e.form.misuses().empty());
    EXPECT_EQ(e.bayText(8), "EdgeSpan");
    expectBays(e, {16}, "", false);
    EXPECT_EQ(e.bayText(7), "Tarn");
    EXPECT_EQ(e.labels(7), "A-15, NIC A; A-16, NIC B; B-16, NIC C");
}

// A half-height row with a mask is offered in the lower bays of the columns it names.
TEST(Rules, HalfHeightRowWithMaskInItsLowerBay) {
    Enclosure e(fixture::catalogueWithFile(kFileRows));
    e.chooseBay(11, "HalfInMask");
    e.chooseBay(3, "HalfInMask");
    EXPECT_EQ(e.labels(2), "A-5, NIC A; B-5, NIC B; A-6, NIC A; B-6, NIC B");
}

// A file row that repeats a name is listed but every lookup finds the earlier row; a file row
// named "empty" empties the bay like row 0.
TEST(Rules, RepeatedNamesResolveToTheFirstRow) {
    Enclosure e(fixture::catalogueWithFile("\"Tarn\" 0x4000 AB 99\n\"empty\" 0x0 AB 11\n"));
    const auto& entries = e.form.control(ids::upperBay(1)).entries;
    ASSERT_EQ(entries.size(), 8u);
    e.form.setSelection(ids::upperBay(1), 6);  // the file's "Tarn"
    runCommand(e.form, e.catalogue, ids::upperBay(1), kSelectionChanged, e.quitState);
    EXPECT_EQ(e.labels(1), "A-3, NIC A; A-4, NIC B; B-4, NIC C");
    e.form.setSelection(ids::upperBay(1), 7);  // the file's "empty"
    runCommand(e.form, e.catalogue, ids::upperBay(1), kSelectionChanged, e.quitState);
    EXPECT_EQ(e.bayText(2), "");
    EXPECT_EQ(e.shownRows(1), "");
}

}  // namespace
