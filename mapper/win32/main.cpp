// Entry of bwplan.exe, the blade port mapper; command-line arguments are ignored.
#include <windows.h>

#include "win32/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return runMapper(instance, showCommand);
}
