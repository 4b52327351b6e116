// File helpers shared by the Win32 test and benchmark programs: paths, scratch folders, whole files.
#pragma once

#include <string>

// Folder of the running test program.
std::string programFolder();

// A path as given on a command line (a Unix path included) made a full drive path, of any
// length; empty when the platform cannot complete it.
std::string fullPath(const char* path);

// Removes a folder, its files and its subfolders; false when something could not be deleted
// (a file still open by a running program, for one).
bool removeTree(const std::string& folder);

// Whole-file reads and writes, byte for byte; a missing file reads as empty.
std::string readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const std::string& bytes);
bool appendFileBytes(const std::string& path, const std::string& bytes);
