// Reads a program file's version record with the Win32 version API.
#include "version_win32.h"

VersionRecord::VersionRecord(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return;
    bytes_.resize(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, bytes_.data())) bytes_.clear();
}

const VS_FIXEDFILEINFO* VersionRecord::fixed() const {
    void* value = nullptr;
    UINT length = 0;
    if (bytes_.empty() || !VerQueryValueA(bytes_.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
}

std::vector<DWORD> VersionRecord::translations() const {
    void* value = nullptr;
    UINT length = 0;
    if (bytes_.empty() || !VerQueryValueA(bytes_.data(), "\\VarFileInfo\\Translation", &value, &length)) return {};
    const DWORD* entries = static_cast<const DWORD*>(value);
    return std::vector<DWORD>(entries, entries + length / sizeof(DWORD));
}

std::string VersionRecord::text(const std::string& block, const std::string& name) const {
    void* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\" + block + "\\" + name;
    if (bytes_.empty() || !VerQueryValueA(bytes_.data(), path.c_str(), &value, &length) || value == nullptr)
        return "<missing>";
    return static_cast<const char*>(value);
}
