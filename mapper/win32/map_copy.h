// Copying the port map that the form shows to the clipboard: Ctrl+C and the window menu.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue.h"
#include "win32/dialog_form.h"

// The window-menu command of the copy. The system reserves the low four bits of a window-menu
// command and the values from 0xF000.
constexpr UINT kCopyPortMapCommand = 0x0100;

// Appends a separator and "Copy port map\tCtrl+C" to the form's window menu.
void addCopyMenuItem(HWND form);

// The tab-separated port map that the form's controls show: the header, then one row per shown
// label, each line ended by CR LF; text in the ANSI code page, as the controls hold it.
std::string portMapText(DialogForm& form, const BladeCatalogue& catalogue);

// Puts portMapText on the clipboard as CF_UNICODETEXT. While another program holds the
// clipboard it retries for a short while; then it beeps and returns false. The form is never
// changed.
bool copyPortMap(DialogForm& form, const BladeCatalogue& catalogue);

// For the event loop, before the dialog's keyboard handling: true when `message` is a Ctrl+C
// key press (Shift and Alt up) for the form or one of its controls, which is then consumed. The
// first press copies; auto-repeats do nothing more.
bool handleCopyKey(const MSG& message, DialogForm& form, const BladeCatalogue& catalogue);
