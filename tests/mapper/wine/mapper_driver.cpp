// Starting bwplan.exe, finding its form by process id, reading controls and sending commands.
#include "mapper_driver.h"

#include "files_win32.h"

#include <cstring>
#include <stdexcept>

namespace {

std::string programPath;
std::string bwmapProgramPath;

constexpr DWORD kPollMs = 10;

struct FormSearch {
    DWORD pid;
    HWND previous;
    HWND found;
};

// The form is the shown dialog of the process that holds the enclosure type selector.
BOOL CALLBACK findForm(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FormSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || window == search->previous) return TRUE;
    if (!IsWindowVisible(window) || GetDlgItem(window, 1083) == nullptr) return TRUE;
    search->found = window;
    return FALSE;
}

struct TitleSearch {
    DWORD pid;
    HWND form;
    const std::string* title;
    HWND found;
};

BOOL CALLBACK findTitled(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || window == search->form || !IsWindowVisible(window)) return TRUE;
    wchar_t title[256];
    int n = GetWindowTextW(window, title, 256);
    if (narrow(std::wstring(title, static_cast<std::size_t>(n))) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

const std::string& bwplanPath() { return programPath; }
void setBwplanPath(const std::string& path) { programPath = path; }
const std::string& bwmapPath() { return bwmapProgramPath; }
void setBwmapPath(const std::string& path) { bwmapProgramPath = path; }

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += static_cast<char>(c);
    return out;
}

ScratchDir::ScratchDir(const std::string& name) {
    std::string base = programFolder() + "\\scratch";
    CreateDirectoryA(base.c_str(), nullptr);
    path_ = base + "\\" + name;
    removeTree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

ScratchDir::~ScratchDir() { removeTree(path_); }

void ScratchDir::writeFile(const std::string& name, const std::string& content) const {
    if (!writeFileBytes(path_ + "\\" + name, content)) throw std::runtime_error("cannot write " + name);
}

void ScratchDir::appendFile(const std::string& name, const std::string& content) const {
    if (!appendFileBytes(path_ + "\\" + name, content)) throw std::runtime_error("cannot write " + name);
}

void ScratchDir::copyIn(const std::string& source, const std::string& name) const {
    if (!CopyFileA(source.c_str(), (path_ + "\\" + name).c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source);
}

MapperProcess::~MapperProcess() {
    if (info_.hProcess == nullptr) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    release();
}

bool MapperProcess::start(const std::string& exe, const std::string& directory, int showCommand) {
    return launch(exe, directory, showCommand) && waitForForm(nullptr) != nullptr;
}

bool MapperProcess::launch(const std::string& exe, const std::string& directory, int showCommand) {
    std::string program = exe.empty() ? bwplanPath() : exe;
    std::string line = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info_))
        return false;
    return true;
}

bool MapperProcess::attach(DWORD pid) {
    info_.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    if (info_.hProcess == nullptr) return false;
    info_.dwProcessId = pid;
    return waitForForm(nullptr) != nullptr;
}

void MapperProcess::release() {
    if (info_.hThread != nullptr) CloseHandle(info_.hThread);
    if (info_.hProcess != nullptr) CloseHandle(info_.hProcess);
    info_ = PROCESS_INFORMATION{};
}

HWND MapperProcess::waitForForm(HWND previous, DWORD timeoutMs) {
    DWORD started = GetTickCount();
    for (;;) {
        FormSearch search{info_.dwProcessId, previous, nullptr};
        EnumWindows(findForm, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return form_ = search.found;
        if (GetTickCount() - started > timeoutMs) return nullptr;
        if (WaitForSingleObject(info_.hProcess, kPollMs) == WAIT_OBJECT_0) return nullptr;
    }
}

bool MapperProcess::waitForExit(DWORD timeoutMs, DWORD* code) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (code != nullptr) GetExitCodeProcess(info_.hProcess, code);
    return true;
}

HWND MapperProcess::findWindowTitled(const std::string& title) const {
    TitleSearch search{info_.dwProcessId, form_, &title, nullptr};
    EnumWindows(findTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MapperProcess::text(int id) const {
    wchar_t buffer[512];
    LRESULT n = SendMessageW(item(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return narrow(std::wstring(buffer, static_cast<std::size_t>(n > 0 ? n : 0)));
}

std::string MapperProcess::title() const {
    wchar_t buffer[256];
    int n = GetWindowTextW(form_, buffer, 256);
    return narrow(std::wstring(buffer, static_cast<std::size_t>(n)));
}

int MapperProcess::count(int id) const {
    return static_cast<int>(SendMessageW(item(id), CB_GETCOUNT, 0, 0));
}

int MapperProcess::selection(int id) const {
    return static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> MapperProcess::entries(int id) const {
    std::vector<std::string> out;
    int n = count(id);
    for (int i = 0; i < n; ++i) {
        wchar_t buffer[256];
        LRESULT length = SendMessageW(item(id), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        out.push_back(length < 0 ? "<unreadable>" : narrow(std::wstring(buffer, static_cast<std::size_t>(length))));
    }
    return out;
}

std::string MapperProcess::selected(int id) const {
    int index = selection(id);
    if (index < 0) return "";
    std::vector<std::string> all = entries(id);
    return index < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(index)] : "<bad index>";
}

HWND MapperProcess::focus() const {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &thread)) return nullptr;
    return thread.hwndFocus;
}

bool MapperProcess::activateAndWaitForFocus(HWND control, DWORD timeoutMs) const {
    DWORD started = GetTickCount();
    while (focus() != control) {
        if (GetTickCount() - started > timeoutMs) return false;
        SetForegroundWindow(form_);
        Sleep(kPollMs);
    }
    return true;
}

void MapperProcess::sendCommand(int id, int code) {
    SendMessageW(form_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
    // A sent message is handled inside GetMessage without making it return; a posted one
    // lets the loop look at its run state, as real input would.
    PostMessageW(form_, WM_NULL, 0, 0);
}

void MapperProcess::choose(int id, int index) {
    SendMessageW(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    sendCommand(id, CBN_SELCHANGE);
}

bool MapperProcess::chooseText(int id, const std::string& text) {
    std::vector<std::string> all = entries(id);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == text) {
            choose(id, static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void MapperProcess::click(int id) { sendCommand(id, BN_CLICKED); }

bool MapperProcess::reset() {
    HWND old = form_;
    click(1097);
    return waitForForm(old) != nullptr;
}

void MapperProcess::pressEscape() {
    HWND target = focus();
    if (target == nullptr) target = form_;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
}

bool pressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD key : keys) add(key, 0);
    for (auto key = keys.end(); key != keys.begin();) add(*--key, KEYEVENTF_KEYUP);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

namespace {

// The clipboard may be open in the program under test for a moment: retry briefly.
bool openClipboard() {
    for (int i = 0; i < 100; ++i) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(kPollMs);
    }
    return false;
}

std::wstring clipboardText() {
    if (!openClipboard()) return {};
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = wide;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

bool setClipboardText(const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!openClipboard()) return false;
    const bool put = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return put;
}

std::wstring waitForClipboardChange(const std::wstring& old, DWORD timeoutMs) {
    const DWORD started = GetTickCount();
    for (;;) {
        std::wstring text = clipboardText();
        if (!text.empty() && text != old) return text;
        if (GetTickCount() - started > timeoutMs) return old;
        Sleep(kPollMs);
    }
}

long runCapturing(const std::string& commandLine, const std::string& outputFile, std::string& out) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = file;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    const bool started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(file);
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &code);
    } else {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    out = readFileBytes(outputFile);
    return code == static_cast<DWORD>(-1) ? -1 : static_cast<long>(code);
}
