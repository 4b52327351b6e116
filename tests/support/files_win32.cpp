// File helpers shared by the Win32 test programs.
#include "files_win32.h"

#include <windows.h>

namespace {

bool writeBytes(const std::string& path, const std::string& bytes, DWORD disposition) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && ok;
}

}  // namespace

std::string programFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, n);
    return full.substr(0, full.find_last_of('\\'));
}

std::string fullPath(const char* path) {
    // The wide functions take paths past MAX_PATH; the size is asked first.
    const int wideSize = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (wideSize <= 0) return "";
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], wideSize);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);  // with the NUL
    if (size == 0) return "";
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return "";
    const int narrowSize = WideCharToMultiByte(CP_ACP, 0, full.c_str(), static_cast<int>(length), nullptr, 0,
                                               nullptr, nullptr);
    std::string out(static_cast<std::size_t>(narrowSize > 0 ? narrowSize : 0), '\0');
    if (narrowSize > 0)
        WideCharToMultiByte(CP_ACP, 0, full.c_str(), static_cast<int>(length), &out[0], narrowSize, nullptr, nullptr);
    return out;
}

bool removeTree(const std::string& folder) {
    bool removed = true;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removed = removeTree(path) && removed;
            else
                removed = DeleteFileA(path.c_str()) && removed;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return (RemoveDirectoryA(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
            GetLastError() == ERROR_PATH_NOT_FOUND) && removed;
}

std::string readFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    return writeBytes(path, bytes, CREATE_ALWAYS);
}

bool appendFileBytes(const std::string& path, const std::string& bytes) {
    return writeBytes(path, bytes, OPEN_ALWAYS);
}
