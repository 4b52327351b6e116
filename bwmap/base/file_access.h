// Files named by UTF-8 paths, opened and told apart alike on every platform.
#pragma once

#include <cstdio>
#include <string>

// Opens the file at `path` in `mode`. On Windows through the wide-character API: a UTF-8 path
// opens whatever its characters are; a path that is not UTF-8 is read in the ANSI code page,
// as the command line gives it. nullptr with errno set when it cannot be opened.
std::FILE* openFile(const std::string& path, const char* mode);

// What stands at `path`. UNKNOWN: it cannot be told (no access); opening it tells why.
enum class PathKind { MISSING, FILE, FOLDER, OTHER, UNKNOWN };
PathKind pathKind(const std::string& path);

// The sentence for a folder named where a file is wanted.
inline std::string folderNotFile(const std::string& path) { return path + ": is a folder, not a file"; }

// Whether a write that failed with `error` (errno, read at once) failed because the reader went
// away: a closed pipe.
bool readerGone(int error);

// Standard output takes the bytes as written: each format writes its own line ends.
void writeOutputAsIs(std::FILE* file);
