// pkgrun: runs the current directory's kx0*.exe packages, then rollout.exe for each *.ini file.
#include <windows.h>

#include "argument_text.h"
#include "run.h"
#include "win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Win32Platform platform;
    // The full 32-bit value reaches the exit code: the runtime hands it to ExitProcess.
    return static_cast<int>(runLauncher(platform, argumentText(GetCommandLineA())));
}
