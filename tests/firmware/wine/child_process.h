// Running a program under test with captured output, and the scratch folders the tests use.
#pragma once

#include <string>

#include "files_win32.h"

struct ChildResult {
    bool finished = false;        // started and ended within the time limit
    unsigned long exitCode = 0;   // the full 32-bit exit code
    std::string out;
    std::string err;
};

// Runs program with commandLine (argument 0 included) in folder, standard output and error
// captured separately. Ends the child and reports finished = false after timeoutMs. With
// closedOutput, standard output is a pipe whose reader is gone: every write to it fails.
ChildResult runChild(const std::string& program, const std::string& commandLine,
                     const std::string& folder, unsigned long timeoutMs = 20000,
                     bool closedOutput = false);

// A Unix path as given on the command line by CTest, turned into a Windows path (drive Z:).
std::string windowsPath(const std::string& path);

// A fresh, empty folder under the temporary folder, unique to this process and name.
std::string makeScratchFolder(const std::string& name);

// "\n" turned into "\r\n", as text-mode console output ends its lines.
std::string crlf(const std::string& text);

// Where the programs under test live, from the driver's command line.
struct TestPaths {
    std::string binFolder;   // quillscan.exe, the stand-in quillscan.dll, mkfwimage.exe
    std::string fakeLibrary; // the scripted quillscan.dll
};
extern TestPaths testPaths;
