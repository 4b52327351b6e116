// bwplan.exe built with checked iterators: a selector disabled while it has the keyboard focus
// sends its focus-loss notifications into the dialog in the middle of applying a batch.
#include <gtest/gtest.h>

#include "mapper_driver.h"

namespace {

TEST(Reentry, FocusedSelectorDisabledByTheFullHeightRule) {
    ScratchDir dir("reentry");
    dir.writeFile("bwplan.ini", "\"ShareA\" 0x1800000 AB 11\n\"PlainB\" 0x800000 AB 11\n");
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));

    ASSERT_TRUE(mapper.chooseText(1003, "Tarn"));    // bay 4: bay 12 below it disabled
    ASSERT_TRUE(mapper.chooseText(1009, "PlainB"));  // bay 10
    ASSERT_TRUE(mapper.chooseText(1001, "ShareA"));  // bay 2: refused at column 1
    ASSERT_EQ(mapper.text(1095), "ShareA blade cannot share a slot with a PlainB blade.");
    ASSERT_TRUE(mapper.enabled(1011)) << "the refused pass left bay 12 enabled";

    SetForegroundWindow(mapper.form());
    SendMessageW(mapper.form(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(mapper.item(1011)), TRUE);
    ASSERT_TRUE(mapper.activateAndWaitForFocus(mapper.item(1011)));
    ASSERT_TRUE(mapper.chooseText(1011, "Fell"));

    EXPECT_FALSE(mapper.waitForExit(300)) << "the program ended";
    EXPECT_FALSE(mapper.enabled(1011)) << "bay 12 under the full-height Tarn";
    EXPECT_EQ(mapper.selection(1011), -1);
    EXPECT_EQ(mapper.selected(1003), "Tarn");
    mapper.click(2);
    DWORD code = 1;
    ASSERT_TRUE(mapper.waitForExit(10000, &code)) << "Cancel did not end the program";
    EXPECT_EQ(code, 0u);
}

}  // namespace
