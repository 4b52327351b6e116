// The real dialog in this process: colour requests answered with our own device context, and
// which controls a command really touches.
#include <gtest/gtest.h>

#include "win32/app.h"
#include "win32/form_dialog.h"

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);
constexpr COLORREF kRed = 0x2323FF, kBlue = 0xFF3C23, kGreen = 0x649628;

class InProcessForm : public testing::Test {
protected:
    static void SetUpTestSuite() {
        MapperProgram& program = mapperProgram();
        program.instance = GetModuleHandleA(nullptr);
        CatalogueHooks hooks;
        hooks.fileName = "no-catalogue-file-here.ini";  // the built-in rows alone
        ASSERT_TRUE(loadCatalogue(program.catalogue, hooks));
    }
    void SetUp() override {
        form_ = createEnclosureForm();
        ASSERT_NE(form_, nullptr);
        dc_ = CreateCompatibleDC(nullptr);
    }
    void TearDown() override {
        DeleteDC(dc_);
        DestroyWindow(form_);
    }
    // The user's choice as the selector reports it.
    void choose(int id, const char* text) {
        HWND combo = GetDlgItem(form_, id);
        LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        ASSERT_NE(index, CB_ERR) << text;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(form_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    // Asks the dialog procedure for a static's colours; the text colour it left on our DC.
    INT_PTR request(int id) {
        SetTextColor(dc_, kSentinel);
        SetBkColor(dc_, kSentinel);
        return enclosureDialogProc(form_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_),
                                   reinterpret_cast<LPARAM>(GetDlgItem(form_, id)));
    }
    void expectColour(int id, COLORREF colour) {
        INT_PTR brush = request(id);
        EXPECT_EQ(brush, reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE))) << "control " << id;
        EXPECT_EQ(GetTextColor(dc_), colour) << "control " << id;
        EXPECT_EQ(GetBkColor(dc_), GetSysColor(COLOR_BTNFACE)) << "control " << id;
    }
    void expectDefault(int id) {
        EXPECT_EQ(request(id), FALSE) << "control " << id;
        EXPECT_EQ(GetTextColor(dc_), kSentinel) << "control " << id << " text colour touched";
    }
    HWND form_ = nullptr;
    HDC dc_ = nullptr;
};

TEST_F(InProcessForm, MessageLineRedCaptionsBlueAboveGreenBelow) {
    expectColour(1095, kRed);
    for (int c = 0; c < 8; ++c) {
        expectColour(1101 + c, kBlue);
        expectColour(1109 + c, kGreen);
    }
}

TEST_F(InProcessForm, OtherStaticsKeepThePlatformColours) {
    for (int id : {1082, 1084, 1085, 1119, 1120}) expectDefault(id);
}

TEST_F(InProcessForm, HalfHeightBladeBelowPaintsLowerRowsGreen) {
    choose(1000, "Fell");
    choose(1008, "Fell");
    for (int row = 0; row < 6; ++row) expectColour(1017 + 8 * row, row >= 4 ? kGreen : kBlue);
}

TEST_F(InProcessForm, FullHeightSpanningBladeIsBlueDownToItsLastRow) {
    choose(1000, "Crag");
    for (int row = 0; row < 6; ++row) expectColour(1017 + 8 * row, kBlue);
}

TEST_F(InProcessForm, FellAloneInALowerBayIsGreenInRows4And5) {
    choose(1010, "Fell");
    expectColour(1017 + 8 * 4 + 2, kGreen);
    expectColour(1017 + 8 * 5 + 2, kGreen);
}

// Through the dialog manager, as a control asks before drawing.
TEST_F(InProcessForm, ColourRequestSentToTheDialogReturnsTheFaceBrush) {
    SetTextColor(dc_, kSentinel);
    LRESULT brush = SendMessageA(form_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_),
                                 reinterpret_cast<LPARAM>(GetDlgItem(form_, 1095)));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    EXPECT_EQ(GetTextColor(dc_), kRed);
}

// Messages that reached controls of the watched column while the hook was set.
std::vector<UINT> touched;
int watchedColumn = -1;

LRESULT CALLBACK recordLabelMessages(int code, WPARAM wParam, LPARAM lParam) {
    auto* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    int id = GetDlgCtrlID(sent->hwnd);
    bool watched = id >= 1017 && id <= 1064 && (id - 1017) % 8 == watchedColumn;
    if (code == HC_ACTION && watched &&
        (sent->message == WM_SHOWWINDOW || sent->message == WM_SETTEXT || sent->message == WM_ENABLE))
        touched.push_back(sent->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A change in another column must leave the labels that stay alone: hiding and showing them
// again, or rewriting the same text, would make them flicker.
TEST_F(InProcessForm, LabelsThatStayAreNotTouchedByAChangeElsewhere) {
    ShowWindow(form_, SW_SHOWNOACTIVATE);
    choose(1000, "Fell");
    choose(1008, "Fell");
    touched.clear();
    watchedColumn = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, recordLabelMessages, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    choose(1002, "Tarn");
    choose(1002, "Tarn-M3");
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(touched.empty()) << touched.size() << " messages reached column 0's labels";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(form_, 1017)));
    // The hook does see a column that changes.
    touched.clear();
    watchedColumn = 2;
    hook = SetWindowsHookExA(WH_CALLWNDPROC, recordLabelMessages, nullptr, GetCurrentThreadId());
    choose(1002, "Tarn");
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(touched.empty());
}

}  // namespace
