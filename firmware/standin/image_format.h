// The sample firmware image format read by the stand-in library and written by the generator.
//
// An image is a 512-byte header followed by a payload. Integers are little-endian; texts are
// single-byte characters, NUL-padded to their width, and end with a NUL inside it.
//
//   Offset  Width  Field
//   0       4      signature "QSFW"
//   4       2      format revision, 1
//   6       2      header size, 512
//   8       4      product ID (one of KNOWN_PRODUCTS)
//   12      4      image kind: 1, 2, KTRX, TOBR or SQUM (fwHdr's values)
//   16      4      kinds 1, 2: four signed version numbers, least significant first
//   20      4      payload size in bytes
//   24      4      CRC-32 (IEEE 802.3) of the whole file with this field read as zero
//   28      4      reserved, zero
//   32      64     manufacturer
//   96      32     platform
//   128     128    image type (kinds 1, 2, KTRX) or build date (TOBR, SQUM; empty if none)
//   256     64     version text (KTRX; TOBR and SQUM: at most 7 characters)
//   320     192    reserved, zero
//   512     ...    payload
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quillscan.h"

namespace image {

constexpr char SIGNATURE[4] = {'Q', 'S', 'F', 'W'};
constexpr std::uint16_t FORMAT_REVISION = 1;
constexpr std::size_t HEADER_SIZE = 512;

constexpr std::size_t AT_REVISION = 4;
constexpr std::size_t AT_HEADER_SIZE = 6;
constexpr std::size_t AT_PRODUCT = 8;
constexpr std::size_t AT_KIND = 12;
constexpr std::size_t AT_NUMERIC_VERSION = 16;
constexpr std::size_t AT_PAYLOAD_SIZE = 20;
constexpr std::size_t AT_CHECKSUM = 24;
constexpr std::size_t AT_MANUFACTURER = 32;
constexpr std::size_t AT_PLATFORM = 96;
constexpr std::size_t AT_INFO = 128;
constexpr std::size_t AT_VERSION_TEXT = 256;

constexpr std::size_t MANUFACTURER_WIDTH = 64;
constexpr std::size_t PLATFORM_WIDTH = 32;
constexpr std::size_t INFO_WIDTH = 128;
constexpr std::size_t VERSION_TEXT_WIDTH = 64;
constexpr std::size_t SHORT_VERSION_LENGTH = 7;  // TOBR, SQUM: fwHdr's 8-byte version field

constexpr std::uint32_t KNOWN_PRODUCTS[] = {0x0A01, 0x0A02, 0x0B10, 0x0C20};

// What an image says; texts must be shorter than their widths.
struct ImageContent {
    std::uint32_t product = KNOWN_PRODUCTS[0];
    std::uint32_t kind = KIND_ONE;
    signed char numericVersion[4] = {0, 0, 0, 0};  // least significant first
    std::string versionText;
    std::string manufacturer;
    std::string platform;
    std::string info;
    std::size_t payloadSize = 0;
};

bool isKnownProduct(std::uint32_t product);
bool isKnownKind(std::uint32_t kind);

std::uint32_t crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0);

// The image bytes for content, checksum included. Over-long texts are cut to their width less one.
std::vector<unsigned char> encodeImage(const ImageContent& content);

// Recomputes and stores the checksum of an image of at least HEADER_SIZE bytes.
void sealChecksum(std::vector<unsigned char>& bytes);

// Checks the image and fills *record (cleared first) when it is sound. Returns 0 or the
// status bits: FW_STATUS_BAD_SIGNATURE alone for a foreign file; FW_STATUS_BAD_CHECKSUM for
// a wrong checksum or size; FW_STATUS_UNKNOWN_PRODUCT for an unknown product or kind.
int describeImage(const unsigned char* bytes, std::size_t size, fwHdr* record);

} // namespace image
