// Start-up and event loop of bwplan, and the program-wide state they share with the dialog.
#pragma once

#include <windows.h>

#include "catalogue.h"
#include "commands.h"
#include "win32/dialog_form.h"

struct MapperProgram {
    HINSTANCE instance = nullptr;     // holds dialog template 101
    int showCommand = SW_SHOWNORMAL;  // start-up show command, used for every new form
    int quitState = QUIT_RUNNING;
    HWND currentForm = nullptr;       // the form created last
    BladeCatalogue catalogue;
    DialogForm form;                  // the binding of currentForm
};

// The one program-wide instance.
MapperProgram& mapperProgram();

// Creates the form from template 101 (modeless, no owner); its initialisation sets the title
// and fills the selectors. Returns nullptr on failure.
HWND createEnclosureForm();

// The program: catalogue, form, event loop. Returns the exit status.
int runMapper(HINSTANCE instance, int showCommand);
