// bwplan.exe under Wine: Ctrl+C and the window menu put on the clipboard what bwmap prints.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mapper_driver.h"

namespace {

constexpr UINT kCopyPortMapCommand = 0x0100;  // the window-menu item's command
const std::wstring kNothingCopied = L"nothing copied yet";

// bwmap's picks: "N=TYPE" names bay N (1-16), "osC=OS" the OS selector of column C.
int pickedControl(const std::string& pick) {
    if (pick.rfind("os", 0) == 0) return 1087 + std::stoi(pick.substr(2)) - 1;
    const int bay = std::stoi(pick);
    return bay <= 8 ? 1000 + bay - 1 : 1008 + bay - 9;
}

void applyPicks(MapperProcess& mapper, const std::vector<std::string>& picks) {
    for (const std::string& pick : picks)
        ASSERT_TRUE(mapper.chooseText(pickedControl(pick), pick.substr(pick.find('=') + 1))) << pick;
}

std::wstring withoutCr(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'\r') out += c;
    return out;
}

// What bwmap --format tsv prints for the same picks, read as the ANSI code page, CRs dropped.
std::wstring bwmapTsv(const ScratchDir& dir, const std::string& options, const std::vector<std::string>& picks) {
    std::string line = "\"" + bwmapPath() + "\" --format tsv --catalogue \"" + dir.path() + "\\bwplan.ini\" " + options;
    for (const std::string& pick : picks) line += " \"" + pick + "\"";
    std::string out;
    EXPECT_EQ(runCapturing(line, dir.path() + "\\bwmap.tsv", out), 0) << line;
    std::wstring wide(out.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, out.data(), static_cast<int>(out.size()), &wide[0], static_cast<int>(wide.size()))));
    return withoutCr(wide);
}

// The copy that `act` makes: the clipboard's new text, every line ended by CR LF.
void expectCopy(const char* how, const std::function<void()>& act, const std::wstring& expected) {
    SCOPED_TRACE(how);
    ASSERT_TRUE(setClipboardText(kNothingCopied));
    act();
    const std::wstring copied = waitForClipboardChange(kNothingCopied);
    EXPECT_EQ(withoutCr(copied), expected);
    std::size_t lines = 0, crLf = 0;
    for (std::size_t i = 0; i < copied.size(); ++i) {
        if (copied[i] != L'\n') continue;
        ++lines;
        if (i > 0 && copied[i - 1] == L'\r') ++crLf;
    }
    EXPECT_EQ(crLf, lines) << "a line end without CR";
    EXPECT_EQ(copied.substr(copied.size() - 2), L"\r\n");
}

void pressCtrlC() { ASSERT_TRUE(pressKeys({VK_CONTROL, 'C'})); }

// Alt+Space opens the window menu, Up reaches its last item, Enter picks it.
void pickLastWindowMenuItem() {
    ASSERT_TRUE(pressKeys({VK_MENU, VK_SPACE}));
    ASSERT_TRUE(pressKeys({VK_UP}));
    ASSERT_TRUE(pressKeys({VK_RETURN}));
}

TEST(CopyMap, CtrlCCopiesWhatBwmapPrintsWhicheverControlHasTheFocus) {
    ASSERT_FALSE(bwmapPath().empty()) << "the driver was not given bwmap.exe";
    ScratchDir dir("copy_keys");
    dir.writeFile("bwplan.ini", "\"Cr\xE9te\" 0x0 AB 12\r\n");  // Windows-1252 e acute
    const std::vector<std::string> picks = {"1=Tarn", "2=Tarn-M2", "os2=Windows", "3=Cr\xE9te",
                                            "5=Fell", "13=Fell", "7=Tarn +NIC upgrade"};
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    ASSERT_NO_FATAL_FAILURE(applyPicks(mapper, picks));
    const std::wstring expected = bwmapTsv(dir, "", picks);
    EXPECT_NE(expected.find(L"3\tCr\u00E9te\t"), std::wstring::npos) << "the ANSI code page is not Windows-1252";

    for (int id : {2, 1002, 1088}) {  // Cancel (the first focus), bay 3, column 2's OS selector
        SendMessageW(mapper.form(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(mapper.item(id)), TRUE);
        ASSERT_TRUE(mapper.activateAndWaitForFocus(mapper.item(id))) << id;
        expectCopy(("focus on " + std::to_string(id)).c_str(), pressCtrlC, expected);
        EXPECT_EQ(mapper.focus(), mapper.item(id)) << "the copy moved the focus";
    }
}

TEST(CopyMap, WindowMenuItemCopiesAndEveryFreshFormHasIt) {
    ASSERT_FALSE(bwmapPath().empty()) << "the driver was not given bwmap.exe";
    ScratchDir dir("copy_menu");
    dir.writeFile("bwplan.ini", "");  // the built-in types alone
    const std::vector<std::string> first = {"1=Tarn", "4=Tarn-M2", "os4=Windows"};
    const std::vector<std::string> second = {"2=Tarn +NIC upgrade", "os2=Windows", "6=Fell", "14=Fell"};
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    ASSERT_TRUE(mapper.chooseText(1083, "Standard"));
    ASSERT_NO_FATAL_FAILURE(applyPicks(mapper, first));
    // Tarn-M3 needs an enhanced enclosure: the pick is undone and explained; the copy goes on.
    ASSERT_TRUE(mapper.chooseText(1001, "Tarn-M3"));
    ASSERT_TRUE(mapper.visible(1095));
    expectCopy("the item's command", [&] { PostMessageW(mapper.form(), WM_SYSCOMMAND, kCopyPortMapCommand, 0); },
               bwmapTsv(dir, "--enclosure standard", first));

    ASSERT_TRUE(mapper.reset());
    ASSERT_TRUE(mapper.activateAndWaitForFocus(mapper.item(2)));
    expectCopy("the fresh form's menu, no blade", pickLastWindowMenuItem, bwmapTsv(dir, "", {}));
    ASSERT_NO_FATAL_FAILURE(applyPicks(mapper, second));
    ASSERT_TRUE(mapper.activateAndWaitForFocus(mapper.item(2)));
    expectCopy("the fresh form's menu", pickLastWindowMenuItem, bwmapTsv(dir, "", second));
}

}  // namespace
