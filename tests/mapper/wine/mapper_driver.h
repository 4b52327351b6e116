// Drives bwplan.exe from another process through the Win32 API, as a user's actions arrive.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "files_win32.h"

#include <string>
#include <vector>

// Full Win32 path of the program under test, set by the driver's main.
const std::string& bwplanPath();
void setBwplanPath(const std::string& path);
// Full Win32 path of bwmap.exe when the driver was given one, else empty.
const std::string& bwmapPath();
void setBwmapPath(const std::string& path);

// An emptied directory <driver folder>\scratch\<name>, removed again with this object (declare
// it before the MapperProcess that runs in it, so the program has ended by then).
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    void writeFile(const std::string& name, const std::string& content) const;
    void appendFile(const std::string& name, const std::string& content) const;
    void copyIn(const std::string& source, const std::string& name) const;

private:
    std::string path_;
};

// One running bwplan. The destructor ends it if a test left it running.
class MapperProcess {
public:
    MapperProcess() = default;
    ~MapperProcess();
    MapperProcess(const MapperProcess&) = delete;
    MapperProcess& operator=(const MapperProcess&) = delete;

    // Starts `exe` (bwplanPath() when empty) in `directory` (the driver's own when empty),
    // with a show command when showCommand >= 0, and waits until its form is shown.
    bool start(const std::string& exe = "", const std::string& directory = "", int showCommand = -1);
    // Starts it the same way without waiting for anything.
    bool launch(const std::string& exe = "", const std::string& directory = "", int showCommand = -1);
    // Takes over a bwplan started by another driver run, by process id.
    bool attach(DWORD pid);
    // Forgets the process without ending it.
    void release();
    DWORD pid() const { return info_.dwProcessId; }
    HWND form() const { return form_; }
    // Waits for a form of this process other than `previous` to exist and be shown.
    HWND waitForForm(HWND previous, DWORD timeoutMs = 30000);
    // Waits for the process to end; its exit code through `code`.
    bool waitForExit(DWORD timeoutMs, DWORD* code = nullptr);
    // A top-level window of this process with the given title other than the form, or nullptr.
    HWND findWindowTitled(const std::string& title) const;

    // Reading the form by control identifier.
    HWND item(int id) const { return GetDlgItem(form_, id); }
    std::string text(int id) const;
    std::string title() const;
    bool visible(int id) const { return IsWindowVisible(item(id)) != FALSE; }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    int count(int id) const;
    int selection(int id) const;
    std::vector<std::string> entries(int id) const;
    // Text of the selected entry, "" when nothing is selected.
    std::string selected(int id) const;
    // The control that has the keyboard focus in the form's thread.
    HWND focus() const;
    // Brings the form to the front and waits until `control` has the focus.
    bool activateAndWaitForFocus(HWND control, DWORD timeoutMs = 5000) const;

    // A user's actions. choose* select an entry and report the change the way the selector
    // does; click reports a press. Each then posts WM_NULL so the program's loop looks at its
    // run state, as it would after real input.
    void choose(int id, int index);
    // Chooses the entry with this text; false (and nothing sent) when the selector lacks it.
    bool chooseText(int id, const std::string& text);
    void click(int id);
    // Presses Reset and waits for the fresh form.
    bool reset();
    // Esc as a key press posted to the focused control.
    void pressEscape();

private:
    void sendCommand(int id, int code);
    PROCESS_INFORMATION info_{};
    HWND form_ = nullptr;
};

// Narrow copy of a wide text made of 8-bit characters.
std::string narrow(const std::wstring& text);

// Real key presses through the system's input queue, to the window that has the keyboard
// focus: the keys go down in order and come up in reverse order (a chord such as Ctrl+C).
bool pressKeys(std::initializer_list<WORD> keys);

// The clipboard's CF_UNICODETEXT. set* replaces everything on the clipboard with the text.
bool setClipboardText(const std::wstring& text);
// Waits until the clipboard holds text other than `old`; that text, or `old` after the time.
std::wstring waitForClipboardChange(const std::wstring& old, DWORD timeoutMs = 5000);

// Runs a command line to its end, standard output into `out` (bytes as written); its exit code,
// or -1 when it could not be started or did not end within a minute.
long runCapturing(const std::string& commandLine, const std::string& outputFile, std::string& out);
