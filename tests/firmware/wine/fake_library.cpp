// Scripted "quillscan.dll" for the Wine tests: the image file holds the status and record to
// answer with, and every call is logged to the file named by QUILLSCAN_FAKE_LOG.
//
// File layout: a little-endian 32-bit status, then up to 516 bytes copied over the record from
// its start; bytes beyond the file are left as the caller had them. No file: status -1.
#include <cstdio>
#include <cstdlib>

#include "quillscan.h"

extern "C" QUILLSCAN_API int QUILLSCAN_CALL getFirmwareDescription(const char* path, fwHdr* record)
{
    if (const char* logPath = std::getenv("QUILLSCAN_FAKE_LOG")) {
        if (std::FILE* log = std::fopen(logPath, "ab")) {
            std::fprintf(log, "%s\n", path);
            std::fclose(log);
        }
    }
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return -1;
    unsigned char status[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    std::fread(status, 1, sizeof status, file);
    std::fread(record, 1, sizeof *record, file);
    std::fclose(file);
    return static_cast<int>(status[0] | status[1] << 8 | status[2] << 16 |
                            static_cast<unsigned>(status[3]) << 24);
}
