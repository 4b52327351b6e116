// Files outside Windows: paths are bytes, and text is written as it is.
#include "base/file_access.h"

#include <cerrno>
#include <sys/stat.h>

std::FILE* openFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

PathKind pathKind(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::MISSING : PathKind::UNKNOWN;
    if (S_ISREG(info.st_mode)) return PathKind::FILE;
    return S_ISDIR(info.st_mode) ? PathKind::FOLDER : PathKind::OTHER;
}

bool readerGone(int error) { return error == EPIPE; }

void writeOutputAsIs(std::FILE*) {}
