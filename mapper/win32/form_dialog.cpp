// The dialog procedure of the enclosure form: it only routes, the rules live in the logic.
#include "win32/form_dialog.h"

#include <cstdio>

#include "commands.h"
#include "population.h"
#include "win32/app.h"
#include "win32/map_copy.h"
#include "win32/version.h"

namespace {

constexpr DWORD kVersionInfoLimit = 4096;

INT_PTR initialise(HWND dialog) {
    MapperProgram& program = mapperProgram();
    program.currentForm = dialog;
    program.form.attach(dialog);
    setVersionTitle(dialog, BWPLAN_FILE_NAME);
    addCopyMenuItem(dialog);
    populateForm(program.form, program.catalogue);
    return TRUE;  // focus to the first tab stop, the Cancel button
}

INT_PTR command(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    // Focus and drop-down notifications arrive in the middle of our own control changes; they
    // change nothing and open no batch.
    if (!isFormCommand(id, code)) return FALSE;
    MapperProgram& program = mapperProgram();
    program.form.beginBatch();
    bool handled = runCommand(program.form, program.catalogue, id, code, program.quitState);
    program.form.endBatch();
    return handled ? TRUE : FALSE;
}

// The copy item of the window menu; every other window-menu command keeps its default handling.
INT_PTR systemCommand(WPARAM wParam) {
    if ((wParam & 0xFFF0) != kCopyPortMapCommand) return FALSE;
    MapperProgram& program = mapperProgram();
    copyPortMap(program.form, program.catalogue);
    return TRUE;
}

INT_PTR staticColourRequest(HDC dc, HWND control) {
    MapperProgram& program = mapperProgram();
    auto colour = staticColour(program.form, program.catalogue, GetDlgCtrlID(control));
    if (!colour) return FALSE;
    SetTextColor(dc, static_cast<COLORREF>(*colour));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

INT_PTR CALLBACK enclosureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return initialise(dialog);
    case WM_COMMAND:
        return command(wParam);
    case WM_SYSCOMMAND:
        return systemCommand(wParam);
    case WM_CTLCOLORSTATIC:
        return staticColourRequest(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
        return FALSE;
    }
}

void setVersionTitle(HWND dialog, const char* fileName) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
    if (size == 0 || size >= kVersionInfoLimit) return;
    char record[kVersionInfoLimit];
    if (!GetFileVersionInfoA(fileName, 0, sizeof record, record)) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record, "\\", reinterpret_cast<void**>(&fixed), &length)) return;
    if (fixed == nullptr || length < sizeof *fixed) return;
    // Only the most significant half of the file version reaches the title, one byte each.
    DWORD v = fixed->dwFileVersionMS;
    char title[64];
    std::snprintf(title, sizeof title, "%s, version %x.%x.%x", BWPLAN_PRODUCT_NAME,
                  static_cast<unsigned>((v >> 16) & 0xFF), static_cast<unsigned>((v >> 8) & 0xFF),
                  static_cast<unsigned>(v & 0xFF));
    SetWindowTextA(dialog, title);
}
