// The state of a newly created form, checked control by control on the live window.
#include "form_state.h"

#include <gtest/gtest.h>

#include "expected_form.h"

BayEntries builtInBayEntries() {
    BayEntries bays;
    for (int c = 0; c < 8; ++c) {
        bays.upper.push_back(upperBayEntries(c));
        bays.lower.push_back(lowerBayEntries());
    }
    return bays;
}

void expectFreshForm(const MapperProcess& mapper, const BayEntries& bays) {
    EXPECT_EQ(mapper.title(), "Baywise, version 1.0.0");

    // Children in creation order: the template's order, which is the tab order.
    std::vector<ExpectedControl> expected = expectedControls();
    HWND child = GetWindow(mapper.form(), GW_CHILD);
    for (const ExpectedControl& want : expected) {
        SCOPED_TRACE("control " + std::to_string(want.id));
        ASSERT_NE(child, nullptr) << "fewer controls than the table";
        EXPECT_EQ(static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), want.id);
        char className[64];
        GetClassNameA(child, className, sizeof className);
        EXPECT_STRCASEEQ(className, want.className.c_str());
        EXPECT_EQ(IsWindowVisible(child) != FALSE, (want.style & WS_VISIBLE) != 0) << "visible";
        EXPECT_EQ(IsWindowEnabled(child) != FALSE, (want.style & WS_DISABLED) == 0) << "enabled";
        EXPECT_EQ((GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0,
                  (want.exStyle & WS_EX_STATICEDGE) != 0) << "sunken edge";
        if (want.className == "Static") {
            EXPECT_EQ(mapper.text(want.id), want.text);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the table";

    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE("column " + std::to_string(c));
        EXPECT_EQ(mapper.entries(1000 + c), bays.upper[static_cast<std::size_t>(c)]);
        EXPECT_EQ(mapper.entries(1008 + c), bays.lower[static_cast<std::size_t>(c)]);
        EXPECT_EQ(mapper.selection(1000 + c), -1);
        EXPECT_EQ(mapper.selection(1008 + c), -1);
        EXPECT_EQ(mapper.entries(1087 + c), (std::vector<std::string>{"Windows", "Linux"}));
        EXPECT_EQ(mapper.selection(1087 + c), -1);
    }
    EXPECT_EQ(mapper.entries(1083), (std::vector<std::string>{"Standard", "Enhanced"}));
    EXPECT_EQ(mapper.selected(1083), "Enhanced");
    EXPECT_EQ(mapper.entries(1118), (std::vector<std::string>{"Windows", "Linux"}));
    EXPECT_EQ(mapper.selected(1118), "Linux");
    // Parallel tests take the activation away; the dialog gives its focus back on activation.
    EXPECT_TRUE(mapper.activateAndWaitForFocus(mapper.item(2))) << "focus starts on Cancel";
}
