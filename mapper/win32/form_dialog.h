// The enclosure form's dialog procedure and its window title.
#pragma once

#include <windows.h>

// Routes creation, commands, the copy item of the window menu and colour requests of the
// current form; everything else FALSE.
INT_PTR CALLBACK enclosureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Sets "Baywise, version %x.%x.%x" from the version record of `fileName` (looked up like a
// module name); keeps the current title when the record can't be read or is 4096 bytes or more.
void setVersionTitle(HWND dialog, const char* fileName);
