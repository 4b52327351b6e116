// The stand-in "quillscan.dll": getFirmwareDescription over the sample image format.
#include <cstdio>
#include <vector>

#include "image_format.h"
#include "quillscan.h"

namespace {

constexpr std::size_t MAX_IMAGE_SIZE = 64u << 20;  // larger files are not images of ours

// Reads the whole file; false when it cannot be opened or read.
bool readFile(const char* path, std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    unsigned char chunk[4096];
    bool ok = true;
    for (;;) {
        std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
        if (bytes.size() > MAX_IMAGE_SIZE) break;  // judged by its header as too long
    }
    std::fclose(file);
    return ok;
}

} // namespace

extern "C" QUILLSCAN_API int QUILLSCAN_CALL getFirmwareDescription(const char* path, fwHdr* record)
{
    std::vector<unsigned char> bytes;
    if (!path || !record || !readFile(path, bytes)) return -1;
    return image::describeImage(bytes.data(), bytes.size(), record);
}
