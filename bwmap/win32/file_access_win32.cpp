// Files on Windows: UTF-8 paths through the wide-character API, standard output in binary.
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

#include "base/file_access.h"

namespace {

// The path as UTF-16: from UTF-8 when it is UTF-8, else from the ANSI code page.
std::wstring widePath(const std::string& path) {
    if (path.empty()) return {};
    const int size = static_cast<int>(path.size());
    UINT page = CP_UTF8;
    int wide = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (wide <= 0) {
        page = CP_ACP;
        wide = MultiByteToWideChar(page, 0, path.data(), size, nullptr, 0);
    }
    if (wide <= 0) return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(page, 0, path.data(), size, &out[0], wide);
    return out;
}

}  // namespace

std::FILE* openFile(const std::string& path, const char* mode) {
    const std::wstring name = widePath(path);
    if (name.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    std::wstring wideMode;
    for (const char* c = mode; *c; ++c) wideMode += static_cast<wchar_t>(*c);
    return _wfopen(name.c_str(), wideMode.c_str());
}

PathKind pathKind(const std::string& path) {
    const std::wstring name = widePath(path);
    if (name.empty()) return PathKind::MISSING;
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME
                   ? PathKind::MISSING
                   : PathKind::UNKNOWN;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::FOLDER;
    return attributes & FILE_ATTRIBUTE_DEVICE ? PathKind::OTHER : PathKind::FILE;
}

// The C library reports a write to a pipe whose reader has gone as EINVAL or EPIPE; the system's
// own code tells EINVAL's case apart (the pipe being closed, or no longer connected under Wine).
bool readerGone(int error) {
    if (error == EPIPE) return true;
    const unsigned long code = _doserrno;
    return error == EINVAL && (code == ERROR_NO_DATA || code == ERROR_BROKEN_PIPE || code == ERROR_PIPE_NOT_CONNECTED);
}

void writeOutputAsIs(std::FILE* file) {
    std::fflush(file);
    _setmode(_fileno(file), _O_BINARY);
}
