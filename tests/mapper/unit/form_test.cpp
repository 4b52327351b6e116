// The model form and the population at creation: controls, entry lists, states, routines.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "mapper_test_support.h"
#include "seeded_random.h"
#include "user_sessions.h"

namespace {

using Names = std::vector<std::string>;
using fixture::Enclosure;

const Names kAllBuiltIn = {"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2", "Tarn-M3", "Fell", "Crag"};
const Names kNoCrag = {"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2", "Tarn-M3", "Fell"};

TEST(Form, ControlTableAtCreation) {
    FormModel form;
    // 99 addressable controls: the group box has no identifier.
    EXPECT_EQ(form.controls().size(), 99u);
    std::set<int> seen;
    for (const Control& control : form.controls()) EXPECT_TRUE(seen.insert(control.id).second) << control.id;

    struct Expect { int id; ControlKind kind; const char* text; bool visible; bool enabled; };
    const Expect rows[] = {
        {2, ControlKind::BUTTON, "Cancel", true, true},
        {1096, ControlKind::BUTTON, "Fill With Same", true, true},
        {1097, ControlKind::BUTTON, "Reset", true, true},
        {1017, ControlKind::STATIC, "A-16,  NIC A", false, true},
        {1064, ControlKind::STATIC, "switch A, port 1", false, true},
        {1095, ControlKind::STATIC, "Static", false, true},
        {1101, ControlKind::STATIC, "Bay 1", true, true},
        {1116, ControlKind::STATIC, "Bay 16", true, true},
        {1084, ControlKind::STATIC, "Enclosure type", true, true},
        {1119, ControlKind::STATIC, "Default OS", true, true},
        {1000, ControlKind::SELECTOR, "", true, true},
        {1015, ControlKind::SELECTOR, "", true, true},
        {1087, ControlKind::SELECTOR, "", true, false},
        {1094, ControlKind::SELECTOR, "", true, false},
        {1083, ControlKind::SELECTOR, "", true, true},
        {1118, ControlKind::SELECTOR, "", true, true},
    };
    for (const Expect& row : rows) {
        SCOPED_TRACE(row.id);
        const Control& control = form.control(row.id);
        EXPECT_EQ(control.kind, row.kind);
        EXPECT_EQ(control.text, row.text);
        EXPECT_EQ(control.visible, row.visible);
        EXPECT_EQ(control.enabled, row.enabled);
        EXPECT_EQ(control.selection, -1);
    }
    EXPECT_EQ(form.control(IDC_EXPLANATION).text,
              "Switch (or patch panel) port to blade NIC enumeration is displayed above.  For "
              "example, \"A-2, NIC B\" would signify that switch A, port 2 maps to the second NIC "
              "(\"NIC B\") enumerated by the OS.");
    EXPECT_EQ(form.control(IDC_ORDERING_NOTE).text.substr(0, 22), " Alphabetic ordering i");
    EXPECT_FALSE(form.hasControl(1016));
    EXPECT_FALSE(form.hasControl(1100));
}

TEST(Form, OperationsKeepTheBindingRules) {
    FormModel form;
    form.addEntry(1003, "empty");
    form.addEntry(1003, "Tarn");
    form.setVisible(1003, false);
    form.setEnabled(1003, false);
    form.setSelection(1003, 1);
    EXPECT_EQ(form.getSelection(1003), 1) << "hidden, disabled selector takes a selection";
    form.setSelection(1003, -1);
    EXPECT_EQ(form.getSelection(1003), -1);
    form.setSelection(1003, 5);
    EXPECT_EQ(form.getSelection(1003), -1) << "an index past the entries selects nothing";
    EXPECT_EQ(form.getEntryText(1003, 1).value_or("?"), "Tarn");
    EXPECT_FALSE(form.getEntryText(1003, 2).has_value());
    EXPECT_FALSE(form.getEntryText(1003, -1).has_value());
    EXPECT_TRUE(form.misuses().empty());

    form.setVisible(1016, true);
    form.addEntry(IDC_MESSAGE, "x");
    form.setText(1000, "x");
    EXPECT_EQ(form.getSelection(9999), -1);
    ASSERT_EQ(form.misuses().size(), 4u);
    EXPECT_EQ(form.misuses()[0].id, 1016);
    EXPECT_EQ(form.misuses()[1].operation, "addEntry");
    EXPECT_EQ(form.misuses()[2].operation, "setText");
    EXPECT_EQ(form.misuses()[3].id, 9999);
    EXPECT_EQ(form.operationCount(OP_GET_SELECTION), 4u);
}

// reset() must leave exactly what a copy taken at keep() holds, however the form was driven.
void expectSameForm(const FormModel& actual, const FormModel& expected) {
    ASSERT_EQ(actual.controls().size(), expected.controls().size());
    for (std::size_t i = 0; i < expected.controls().size(); ++i) {
        const Control& a = actual.controls()[i];
        const Control& e = expected.controls()[i];
        SCOPED_TRACE("control " + std::to_string(e.id));
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.visible, e.visible);
        EXPECT_EQ(a.enabled, e.enabled);
        EXPECT_EQ(a.entries, e.entries);
        EXPECT_EQ(a.selection, e.selection);
    }
    EXPECT_EQ(actual.enclosureType, expected.enclosureType);
    ASSERT_EQ(actual.misuses().size(), expected.misuses().size());
    for (int op = 0; op < OP_COUNT; ++op)
        EXPECT_EQ(actual.operationCount(FormOperation(op)), expected.operationCount(FormOperation(op))) << op;
}

TEST(Form, ResetReturnsToTheKeptState) {
    const BladeCatalogue& catalogue = fixture::builtInCatalogue();
    sessions::UserForm u(catalogue);
    u.form.setSelection(IDC_DEFAULT_OS, OS_WINDOWS);
    u.form.keep();
    const FormModel kept = u.form;
    const int commandIds[] = {1000, 1003, 1004, 1008, 1012, IDC_ENCLOSURE_TYPE, 1087, 1090};
    Random random(25);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (int step = 0; step < 12; ++step) {
            const int id = random.pick(commandIds);
            u.chooseIndex(id, random.below(static_cast<int>(u.form.control(id).entries.size())));
        }
        int quitState = QUIT_RUNNING;
        if (round % 3 == 0) runCommand(u.form, catalogue, IDC_FILL_WITH_SAME, 0, quitState);
        if (round % 4 == 0) {  // operations outside the commands: a new entry, a text, a misuse
            u.form.addEntry(1001, "extra");
            u.form.setText(IDC_INTRO_TEXT, "changed");
            u.form.setVisible(9999, false);
        }
        u.form.reset();
        expectSameForm(u.form, kept);
    }
}

TEST(Form, ShowMessageAndHideColumnLabels) {
    FormModel form;
    showMessage(form, "");
    EXPECT_TRUE(form.control(IDC_MESSAGE).visible);
    EXPECT_EQ(form.control(IDC_MESSAGE).text, "");
    showMessage(form, "Tarn-M3 blades must be in an enhanced (high density) enclosure.");
    EXPECT_EQ(form.control(IDC_MESSAGE).text, "Tarn-M3 blades must be in an enhanced (high density) enclosure.");

    for (int id = IDC_LABEL_FIRST; id <= IDC_LABEL_LAST; ++id) form.setVisible(id, true);
    hideColumnLabels(form, 1024);
    for (int id = IDC_LABEL_FIRST; id <= IDC_LABEL_LAST; ++id) {
        const bool inColumn7 = id == 1024 || id == 1032 || id == 1040 || id == 1048 || id == 1056 || id == 1064;
        EXPECT_EQ(form.control(id).visible, !inColumn7) << id;
    }
    EXPECT_EQ(form.control(1064).text, "switch A, port 1") << "texts stay";
}

TEST(Population, BuiltInRowsOnly) {
    Enclosure e(fixture::builtInCatalogue());
    const FormModel& form = e.form;
    EXPECT_EQ(form.enclosureType, ENCLOSURE_ENHANCED);
    EXPECT_EQ(form.control(IDC_ENCLOSURE_TYPE).entries, (Names{"Standard", "Enhanced"}));
    EXPECT_EQ(form.control(IDC_ENCLOSURE_TYPE).selection, 1);
    EXPECT_EQ(form.control(IDC_DEFAULT_OS).entries, (Names{"Windows", "Linux"}));
    EXPECT_EQ(form.control(IDC_DEFAULT_OS).selection, 1);
    for (int c = 0; c < ids::kColumns; ++c) {
        SCOPED_TRACE("column " + std::to_string(c));
        EXPECT_EQ(form.control(ids::upperBay(c)).entries, (c == 0 || c == 4) ? kAllBuiltIn : kNoCrag);
        EXPECT_EQ(form.control(ids::lowerBay(c)).entries, (Names{"empty", "Fell"}));
        EXPECT_EQ(form.control(ids::columnOs(c)).entries, (Names{"Windows", "Linux"}));
        for (int id : {ids::upperBay(c), ids::lowerBay(c), ids::columnOs(c)})
            EXPECT_EQ(form.control(id).selection, -1) << id;
        EXPECT_FALSE(form.control(ids::columnOs(c)).enabled);
        EXPECT_TRUE(form.control(ids::lowerBay(c)).visible);
        EXPECT_TRUE(form.control(ids::lowerBay(c)).enabled);
    }
    for (int id = IDC_LABEL_FIRST; id <= IDC_LABEL_LAST; ++id) EXPECT_FALSE(form.control(id).visible) << id;
    EXPECT_FALSE(form.control(IDC_MESSAGE).visible);
    EXPECT_TRUE(form.misuses().empty());
}

// Which bays offer each file row: by BAY_MASK in the upper row, HALF_HEIGHT in the lower.
TEST(Population, CatalogueFileRowsByMaskAndHeight) {
    Enclosure e(fixture::catalogueWithFile(
        "\"Half\" 0x800000 AB 11\n"
        "\"Full\" 0x0 AABB 1212\n"
        "\"Bay8\" 0x80 AABB 1212\n"
        "\"Bays1and8\" 0x81 AABB 1212\n"
        "\"HalfIn3\" 0x400004 AB 11\n"
        "\"Tarn\" 0x0 AB 11\n"));
    struct Expect { const char* name; const char* upperBays; const char* lowerBays; };
    // Bays as a string of column digits: "01234567" is every column.
    const Expect rows[] = {
        {"Half", "01234567", "01234567"},
        {"Full", "01234567", ""},
        {"Bay8", "7", ""},
        {"Bays1and8", "07", ""},
        {"HalfIn3", "2", "2"},  // a half-height row with a mask: the lower bays of its columns
    };
    for (const Expect& row : rows) {
        SCOPED_TRACE(row.name);
        std::string upper, lower;
        for (int c = 0; c < ids::kColumns; ++c) {
            for (const auto& entry : e.form.control(ids::upperBay(c)).entries)
                if (entry == row.name) upper += char('0' + c);
            for (const auto& entry : e.form.control(ids::lowerBay(c)).entries)
                if (entry == row.name) lower += char('0' + c);
        }
        EXPECT_EQ(upper, row.upperBays);
        EXPECT_EQ(lower, row.lowerBays);
    }
    // File rows come after the built-in ones; a duplicate name is listed again.
    EXPECT_EQ(e.form.control(1001).entries,
              (Names{"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2", "Tarn-M3", "Fell", "Half",
                     "Full", "Tarn"}));
    EXPECT_EQ(e.form.control(1010).entries, (Names{"empty", "Fell", "Half", "HalfIn3"}));
}

TEST(Population, EmptyNameEndsTheLists) {
    Enclosure e(fixture::catalogueWithFile("\"Ridge\" 0x4000000 AABB 1212\n\n\"Hidden\" 0x0 AB 12\n"));
    const Names& entries = e.form.control(1000).entries;
    EXPECT_EQ(entries.back(), "Ridge");
    EXPECT_EQ(entries.size(), kAllBuiltIn.size() + 1);
}

}  // namespace
