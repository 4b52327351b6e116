// What the install tests ask Windows about an installed kit: the installer's runs, the
// installed-programs entry, the Start-menu shortcut and the programs' embedded manifests.
#pragma once

#include <windows.h>

#include <string>

// Runs a command line in `directory` (the test's own when empty) and waits up to two minutes;
// the exit code, or -1 when it could not start or did not end. Standard output goes to
// `outputFile` when one is given.
long runAndWait(const std::string& commandLine, const std::string& directory = "",
                const std::string& outputFile = "");

// The installed-programs entry named `displayName` in either registry view: its values
// DisplayVersion and Publisher, or found == false.
struct ProgramEntry {
    bool found = false;
    std::string version;
    std::string publisher;
};
ProgramEntry findInstalledProgram(const std::string& displayName);

// A shortcut file's target and working folder; empty when it cannot be read.
struct ShortcutInfo {
    std::string target;
    std::string workingFolder;
};
ShortcutInfo readShortcut(const std::string& path);

// The application manifest (resource 1 of type 24) of a program file of either architecture,
// read as data; "" when it has none.
std::string readManifest(const std::string& program);

// A folder of the Shell (CSIDL_*), without a trailing backslash.
std::string shellFolder(int csidl);
bool fileExists(const std::string& path);
