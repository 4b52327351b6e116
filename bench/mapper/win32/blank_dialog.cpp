// Start-up baseline: the same dialog template with a do-nothing dialog procedure.
#include <windows.h>

#include "control_ids.h"

namespace {

INT_PTR CALLBACK doNothing(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    HWND form = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_ENCLOSURE_FORM), nullptr, doNothing, 0);
    if (form == nullptr) return 0;
    ShowWindow(form, showCommand);
    UpdateWindow(form);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(form, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
