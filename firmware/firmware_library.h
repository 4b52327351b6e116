// The tool's view of the firmware-description library, an interface so tests can replace it.
#pragma once

#include "quillscan.h"

class FirmwareLibrary {
public:
    virtual ~FirmwareLibrary() = default;
    // Fills *record for the image file at path and returns the library's status.
    virtual int describe(const char* path, fwHdr* record) = 0;
};
