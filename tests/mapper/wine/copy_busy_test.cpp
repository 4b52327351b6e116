// The real dialog in this process: its window menu, and the copy while the clipboard is held.
#include <gtest/gtest.h>

#include <thread>

#include "win32/app.h"
#include "win32/map_copy.h"

namespace {

// Holds the clipboard open from its own thread until released or `holdMs` have passed.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD holdMs) : release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, opened, holdMs] {
            held_ = OpenClipboard(nullptr) != FALSE;
            SetEvent(opened);
            WaitForSingleObject(release_, holdMs);
            if (held_) CloseClipboard();
        });
        WaitForSingleObject(opened, INFINITE);
        CloseHandle(opened);
    }
    ~ClipboardHolder() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(release_);
    }
    bool held() const { return held_; }

private:
    HANDLE release_;
    bool held_ = false;
    std::thread thread_;
};

std::wstring clipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

class CopyInProcess : public testing::Test {
protected:
    void SetUp() override {
        MapperProgram& program = mapperProgram();
        program.instance = GetModuleHandleA(nullptr);
        CatalogueHooks hooks;
        hooks.fileName = "no-catalogue-file-here.ini";  // the built-in rows alone
        ASSERT_TRUE(loadCatalogue(program.catalogue, hooks));
        form_ = createEnclosureForm();
        ASSERT_NE(form_, nullptr);
    }
    void TearDown() override { DestroyWindow(form_); }
    HWND form_ = nullptr;
};

TEST_F(CopyInProcess, WindowMenuEndsWithASeparatorAndTheCopyItem) {
    HMENU menu = GetSystemMenu(form_, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    char text[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Copy port map\tCtrl+C");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), kCopyPortMapCommand);
}

TEST_F(CopyInProcess, CopyRetriesBrieflyWhileTheClipboardIsHeldThenGivesUp) {
    MapperProgram& program = mapperProgram();
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    {
        ClipboardHolder holder(10000);  // held past any patience
        ASSERT_TRUE(holder.held());
        const DWORD started = GetTickCount();
        EXPECT_FALSE(copyPortMap(program.form, program.catalogue));
        EXPECT_LT(GetTickCount() - started, 2000u) << "the copy waited too long";
    }

    {
        ClipboardHolder holder(60);  // a reader that lets go soon
        ASSERT_TRUE(holder.held());
        EXPECT_TRUE(copyPortMap(program.form, program.catalogue));
    }
    EXPECT_EQ(clipboardText(), L"Bay\tType\tOS\tSwitch port\tNIC\r\n") << "an empty enclosure copies the header";
}

}  // namespace
