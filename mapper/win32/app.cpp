// Start-up and event loop: catalogue, form, and the quitState the form's buttons set.
#include "win32/app.h"

#include "win32/form_dialog.h"
#include "win32/map_copy.h"

namespace {

// Shows the catalogue's one failure ("Unable to allocate memory"): OK only, no icon, no
// owner, task-modal, in front.
void reportFailure(const char* text) {
    MessageBoxA(nullptr, text, "Baywise", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

MapperProgram& mapperProgram() {
    static MapperProgram program;
    return program;
}

HWND createEnclosureForm() {
    MapperProgram& program = mapperProgram();
    return CreateDialogParamA(program.instance, MAKEINTRESOURCEA(IDD_ENCLOSURE_FORM), nullptr,
                              enclosureDialogProc, 0);
}

// Exit statuses: 0 for every ending the program chooses (Cancel, close box, Esc, and every
// failure). When the event stream ends from outside (WM_QUIT while running) the program ends
// with the quit message's code, as a Windows program is expected to.
int runMapper(HINSTANCE instance, int showCommand) {
    MapperProgram& program = mapperProgram();
    program.instance = instance;
    program.showCommand = showCommand;

    CatalogueHooks hooks;
    hooks.report = reportFailure;
    if (!loadCatalogue(program.catalogue, hooks)) return 0;

    for (;;) {
        HWND form = createEnclosureForm();
        if (form == nullptr) return 0;
        ShowWindow(form, program.showCommand);
        UpdateWindow(form);

        MSG message;
        while (program.quitState == QUIT_RUNNING) {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == -1) return 0;
            if (got == 0) return static_cast<int>(message.wParam);
            // Ctrl+C copies the port map; every other event goes its usual way.
            if (handleCopyKey(message, program.form, program.catalogue)) continue;
            if (!IsDialogMessageA(form, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        if (program.quitState != QUIT_RESET) return 0;  // exit: the form ends with the program
        DestroyWindow(form);
        program.quitState = QUIT_RUNNING;
    }
}
