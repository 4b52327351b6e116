// A program file's version record, read back with the Win32 version API.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class VersionRecord {
public:
    explicit VersionRecord(const std::string& path);

    // The record's size as GetFileVersionInfoSizeA reports it; 0 when there is none.
    DWORD size() const { return static_cast<DWORD>(bytes_.size()); }
    // The fixed file information, or nullptr when it cannot be read.
    const VS_FIXEDFILEINFO* fixed() const;
    // The translation entries: language in the low word, code page in the high word.
    std::vector<DWORD> translations() const;
    // A string of a string table block such as "040904b0"; "<missing>" when there is none.
    std::string text(const std::string& block, const std::string& name) const;

private:
    std::vector<char> bytes_;
};
