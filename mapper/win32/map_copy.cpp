// The form's port map on the clipboard, read from the real controls with the shared table code.
#include "win32/map_copy.h"

#include <cstring>

#include "port_map.h"

namespace {

// Long enough to outlast a clipboard viewer's quick read, short enough not to be noticed.
constexpr DWORD kClipboardPatienceMs = 250;
constexpr DWORD kClipboardRetryMs = 10;

// What the controls themselves show: their own style bits and their own text.
class DialogShownForm : public ShownForm {
public:
    explicit DialogShownForm(HWND dialog) : dialog_(dialog) {}
    bool shown(int id) override { return (style(id) & WS_VISIBLE) != 0; }
    bool enabled(int id) override { return (style(id) & WS_DISABLED) == 0; }
    std::string_view text(int id) override {
        HWND control = GetDlgItem(dialog_, id);
        const int length = GetWindowTextLengthA(control);
        if (length <= 0) return {};
        text_.assign(static_cast<std::size_t>(length) + 1, '\0');
        const int copied = GetWindowTextA(control, &text_[0], length + 1);
        text_.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        return text_;
    }

private:
    LONG style(int id) { return GetWindowLongA(GetDlgItem(dialog_, id), GWL_STYLE); }
    HWND dialog_;
    std::string text_;  // the last text read
};

std::wstring ansiToWide(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return wide;
}

// Another program may hold the clipboard for a moment (a viewer reading what changed).
bool openClipboardPatiently(HWND owner) {
    const DWORD started = GetTickCount();
    for (;;) {
        if (OpenClipboard(owner)) return true;
        if (GetTickCount() - started >= kClipboardPatienceMs) return false;
        Sleep(kClipboardRetryMs);
    }
}

// The text is prepared before the clipboard is opened, so it is held only for the hand-over.
bool putUnicodeText(HWND owner, const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!openClipboardPatiently(owner)) {
        GlobalFree(memory);
        return false;
    }
    // Once SetClipboardData succeeds the memory belongs to the clipboard.
    const bool put = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!put) GlobalFree(memory);
    return put;
}

}  // namespace

void addCopyMenuItem(HWND form) {
    HMENU menu = GetSystemMenu(form, FALSE);
    if (menu == nullptr) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kCopyPortMapCommand, "Copy port map\tCtrl+C");
}

std::string portMapText(DialogForm& form, const BladeCatalogue& catalogue) {
    DialogShownForm shown(form.window());
    std::string text;
    appendPortMapTsvHeader(text, nullptr, "\r\n");
    appendPortMapTsv(text, readPortMap(form, shown, catalogue), nullptr, "\r\n");
    return text;
}

bool copyPortMap(DialogForm& form, const BladeCatalogue& catalogue) {
    if (putUnicodeText(form.window(), ansiToWide(portMapText(form, catalogue)))) return true;
    MessageBeep(MB_OK);
    return false;
}

bool handleCopyKey(const MSG& message, DialogForm& form, const BladeCatalogue& catalogue) {
    if (message.message != WM_KEYDOWN || message.wParam != 'C') return false;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) return false;
    HWND dialog = form.window();
    if (message.hwnd != dialog && !IsChild(dialog, message.hwnd)) return false;
    const bool repeat = (message.lParam & (1L << 30)) != 0;  // the key was already down
    if (!repeat) copyPortMap(form, catalogue);
    return true;
}
