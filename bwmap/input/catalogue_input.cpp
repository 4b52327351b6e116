// Reading bwmap's catalogue file, whole and in binary, as the window's own reader does.
#include "input/catalogue_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/file_access.h"

namespace {

enum class Read { OK, CANNOT_OPEN, READ_ERROR, TOO_LARGE };

// The file whole into `bytes`, up to `limit` bytes; `code` is errno when it cannot be opened or read.
Read readWhole(const std::string& path, std::size_t limit, std::string& bytes, int& code) {
    bytes.clear();
    code = 0;
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) {
        code = errno;
        return Read::CANNOT_OPEN;
    }
    Read result = Read::OK;
    char chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got > limit - bytes.size()) {
            result = Read::TOO_LARGE;
            break;
        }
        bytes.append(chunk, got);
        if (got < sizeof chunk) {
            if (std::ferror(file)) {
                code = errno;
                result = Read::READ_ERROR;
            }
            break;
        }
    }
    std::fclose(file);
    return result;
}

}  // namespace

CatalogueInput readCatalogueInput(const std::string& path, bool optional, std::string& bytes, std::string& error) {
    // A folder is no catalogue: the default name is then absent, as the window has it.
    if (pathKind(path) == PathKind::FOLDER) {
        if (optional) return CatalogueInput::ABSENT;
        error = folderNotFile(path);
        return CatalogueInput::FAILED;
    }
    int code = 0;
    Read result;
    try {
        result = readWhole(path, kCatalogueLimit, bytes, code);
    } catch (const std::bad_alloc&) {
        error = "cannot read the catalogue file " + path + ": Unable to allocate memory";
        return CatalogueInput::FAILED;
    }
    switch (result) {
    case Read::OK:
        return CatalogueInput::READ;
    case Read::CANNOT_OPEN:
        if (optional) return CatalogueInput::ABSENT;
        break;
    case Read::READ_ERROR:
        break;
    case Read::TOO_LARGE:
        error = "the catalogue file " + path + " is larger than " + std::to_string(kCatalogueLimit >> 20) +
                " MiB; it is not read";
        return CatalogueInput::FAILED;
    }
    error = "cannot read the catalogue file " + path + ": " + std::strerror(code);
    return CatalogueInput::FAILED;
}
