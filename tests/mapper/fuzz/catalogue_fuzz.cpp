// Fuzz target for the catalogue file reader: any file content loads without a crash or a read
// outside the rows, and every row's text fields end within their 24 bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue.h"
#include "memory_file.h"

namespace {

void* allocatedBlock = nullptr;

void* recordAllocation(std::size_t count, std::size_t size) {
    allocatedBlock = std::calloc(count, size);
    return allocatedBlock;
}

void requireTerminated(const char* field) {
    if (std::memchr(field, '\0', kFieldSize) == nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file("catalogue.ini");
    file.assign(data, size);

    CatalogueHooks hooks;
    hooks.fileName = file.path().c_str();
    hooks.allocateRows = recordAllocation;
    BladeCatalogue catalogue;
    allocatedBlock = nullptr;
    if (!loadCatalogue(catalogue, hooks)) std::abort();  // calloc of a few rows does not fail

    std::size_t last = 0;
    for (std::size_t i = 0; i < catalogue.rowCount(); ++i) {
        const BladeType& row = catalogue.row(i);
        requireTerminated(row.name);
        requireTerminated(row.portMap);
        requireTerminated(row.portDigits);
        if (std::strlen(row.name) > 23 || std::strlen(row.portMap) > 16 || std::strlen(row.portDigits) > 16)
            std::abort();
        if (row.name[0] == '\0') break;
        last = i;
        if (findByName(catalogue, row.name, 0) > i) std::abort();  // a row is found at or before itself
    }
    if (catalogue.row(catalogue.rowCount() - 1).name[0] != '\0') std::abort();  // the terminator
    (void)last;

    // Bytes handed over (read once from a pipe) give the rows the file itself gives.
    void* fromFile = allocatedBlock;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CatalogueHooks given;
    given.fileBytes = &bytes;
    given.allocateRows = recordAllocation;
    BladeCatalogue again;
    if (!loadCatalogue(again, given)) std::abort();
    if (again.rowCount() != catalogue.rowCount() ||
        std::memcmp(again.rows(), catalogue.rows(), catalogue.rowCount() * sizeof(BladeType)) != 0)
        std::abort();
    if (allocatedBlock != fromFile) std::free(allocatedBlock);
    allocatedBlock = fromFile;
    std::free(allocatedBlock);
    return 0;
}
