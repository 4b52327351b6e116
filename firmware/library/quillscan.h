// Declaration of the outside firmware-description library "quillscan.dll": its record and function.
#pragma once

#include <cstddef>
#include <cstdint>

// The library is a plain C DLL: C linkage and the platform's default calling convention
// (cdecl), so the export is named "getFirmwareDescription" without decoration.
#if defined(_WIN32)
#  define QUILLSCAN_CALL __cdecl
#  if defined(QUILLSCAN_BUILDING_LIBRARY)
#    define QUILLSCAN_API __declspec(dllexport)
#  else
#    define QUILLSCAN_API __declspec(dllimport)
#  endif
#else
#  define QUILLSCAN_CALL
#  define QUILLSCAN_API
#endif

// Image kinds: 1, 2 and three four-character codes, first letter in the most significant byte.
enum FirmwareKind : std::uint32_t {
    KIND_ONE = 1,
    KIND_TWO = 2,
    KIND_KTRX = 0x4B545258,
    KIND_TOBR = 0x544F4252,
    KIND_SQUM = 0x5351554D,
};

// The description record, 516 bytes, little-endian, filled in by the library.
// Text fields hold single-byte characters ended by a NUL within the field.
struct fwHdr {
    unsigned char reserved0[8];
    std::uint32_t imageKind;
    unsigned char reserved1[16];
    // Kinds 1, 2: four signed version bytes, least significant first; TOBR, SQUM: text.
    char version[8];
    char manufacturer[64];
    char platform[32];
    char imageInfo[128];    // 1, 2, KTRX: image type; TOBR, SQUM: build date, empty if none
    char versionText[256];  // KTRX: the version
};

static_assert(offsetof(fwHdr, imageKind) == 8, "imageKind at 8");
static_assert(offsetof(fwHdr, version) == 28, "version at 28");
static_assert(offsetof(fwHdr, manufacturer) == 36, "manufacturer at 36");
static_assert(offsetof(fwHdr, platform) == 100, "platform at 100");
static_assert(offsetof(fwHdr, imageInfo) == 132, "imageInfo at 132");
static_assert(offsetof(fwHdr, versionText) == 260, "versionText at 260");
static_assert(sizeof(fwHdr) == 516, "fwHdr is 516 bytes");

// Describes the firmware image file at path in *record. Returns 0 on success, -1 when the
// file is missing or unreadable, otherwise a combination of FW_STATUS_* bits.
extern "C" QUILLSCAN_API int QUILLSCAN_CALL getFirmwareDescription(const char* path, fwHdr* record);

enum FirmwareStatusBits : int {
    FW_STATUS_BAD_SIGNATURE = 0x1,
    FW_STATUS_UNKNOWN_PRODUCT = 0x2,
    FW_STATUS_BAD_CHECKSUM = 0x8,
};
