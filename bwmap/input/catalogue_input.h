// bwmap's catalogue file: read once and whole, so that a pipe gives what the file itself gives.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t kCatalogueLimit = 16u << 20;  // catalogues are a few dozen lines

enum class CatalogueInput { READ, ABSENT, FAILED };

// Reads `path` into `bytes`. A file that cannot be opened is ABSENT when it is optional (the
// default file, as the window treats it), else FAILED; so are a read error and a file beyond
// kCatalogueLimit, with a one-line `error`.
CatalogueInput readCatalogueInput(const std::string& path, bool optional, std::string& bytes, std::string& error);
