// Reading bwmap's catalogue file through the window's own reader.
#include "input/catalogue_input.h"

#include <cstring>
#include <new>

#include "catalogue_file.h"

CatalogueInput readCatalogueInput(const std::string& path, bool optional, std::string& bytes, std::string& error) {
    int code = 0;
    FileRead result;
    try {
        result = readWholeFile(path.c_str(), kCatalogueLimit, bytes, code);
    } catch (const std::bad_alloc&) {
        error = "cannot read the catalogue file " + path + ": Unable to allocate memory";
        return CatalogueInput::FAILED;
    }
    switch (result) {
    case FileRead::OK:
        return CatalogueInput::READ;
    case FileRead::CANNOT_OPEN:
        if (optional) return CatalogueInput::ABSENT;
        break;
    case FileRead::READ_ERROR:
        break;
    case FileRead::TOO_LARGE:
        error = "the catalogue file " + path + " is larger than " + std::to_string(kCatalogueLimit >> 20) +
                " MiB; it is not read";
        return CatalogueInput::FAILED;
    }
    error = "cannot read the catalogue file " + path + ": " + std::strerror(code);
    return CatalogueInput::FAILED;
}
