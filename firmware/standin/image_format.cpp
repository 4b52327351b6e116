// Encoding and checking of sample firmware images.
#include "image_format.h"

#include <algorithm>
#include <cstring>

namespace image {

namespace {

void putU16(std::vector<unsigned char>& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

void putU32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t getU32(const unsigned char* bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[at + i];
    return value;
}

void putText(std::vector<unsigned char>& bytes, std::size_t at, std::size_t width,
             const std::string& text)
{
    std::size_t length = std::min(text.size(), width - 1);
    std::memcpy(&bytes[at], text.data(), length);
}

// Copies a header text into a record field: at most the shorter width less one, NUL-ended.
void copyText(char* field, std::size_t fieldWidth, const unsigned char* header, std::size_t at,
              std::size_t headerWidth)
{
    const char* text = reinterpret_cast<const char*>(header + at);
    std::size_t limit = std::min(fieldWidth, headerWidth) - 1;
    const void* end = std::memchr(text, '\0', limit);
    std::size_t length = end ? static_cast<const char*>(end) - text : limit;
    std::memcpy(field, text, length);
    field[length] = '\0';
}

std::uint32_t imageChecksum(const unsigned char* bytes, std::size_t size)
{
    const unsigned char zero[4] = {0, 0, 0, 0};
    std::uint32_t crc = crc32(bytes, AT_CHECKSUM);
    crc = crc32(zero, sizeof zero, crc);
    return crc32(bytes + AT_CHECKSUM + 4, size - AT_CHECKSUM - 4, crc);
}

} // namespace

bool isKnownProduct(std::uint32_t product)
{
    return std::find(std::begin(KNOWN_PRODUCTS), std::end(KNOWN_PRODUCTS), product) !=
           std::end(KNOWN_PRODUCTS);
}

bool isKnownKind(std::uint32_t kind)
{
    return kind == KIND_ONE || kind == KIND_TWO || kind == KIND_KTRX || kind == KIND_TOBR ||
           kind == KIND_SQUM;
}

std::uint32_t crc32(const unsigned char* data, std::size_t size, std::uint32_t crc)
{
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<unsigned char> encodeImage(const ImageContent& content)
{
    std::vector<unsigned char> bytes(HEADER_SIZE + content.payloadSize, 0);
    std::memcpy(bytes.data(), SIGNATURE, sizeof SIGNATURE);
    putU16(bytes, AT_REVISION, FORMAT_REVISION);
    putU16(bytes, AT_HEADER_SIZE, static_cast<std::uint16_t>(HEADER_SIZE));
    putU32(bytes, AT_PRODUCT, content.product);
    putU32(bytes, AT_KIND, content.kind);
    for (int i = 0; i < 4; ++i)
        bytes[AT_NUMERIC_VERSION + i] = static_cast<unsigned char>(content.numericVersion[i]);
    putU32(bytes, AT_PAYLOAD_SIZE, static_cast<std::uint32_t>(content.payloadSize));
    putText(bytes, AT_MANUFACTURER, MANUFACTURER_WIDTH, content.manufacturer);
    putText(bytes, AT_PLATFORM, PLATFORM_WIDTH, content.platform);
    putText(bytes, AT_INFO, INFO_WIDTH, content.info);
    putText(bytes, AT_VERSION_TEXT, VERSION_TEXT_WIDTH, content.versionText);
    for (std::size_t i = 0; i < content.payloadSize; ++i)
        bytes[HEADER_SIZE + i] = static_cast<unsigned char>(i * 7 + 3);
    sealChecksum(bytes);
    return bytes;
}

void sealChecksum(std::vector<unsigned char>& bytes)
{
    putU32(bytes, AT_CHECKSUM, imageChecksum(bytes.data(), bytes.size()));
}

int describeImage(const unsigned char* bytes, std::size_t size, fwHdr* record)
{
    if (size < AT_PRODUCT || std::memcmp(bytes, SIGNATURE, sizeof SIGNATURE) != 0 ||
        (bytes[AT_REVISION] | bytes[AT_REVISION + 1] << 8) != FORMAT_REVISION ||
        (bytes[AT_HEADER_SIZE] | bytes[AT_HEADER_SIZE + 1] << 8) != HEADER_SIZE)
        return FW_STATUS_BAD_SIGNATURE;
    if (size < HEADER_SIZE) return FW_STATUS_BAD_CHECKSUM;  // cut short: nothing to trust

    int status = 0;
    if (size != HEADER_SIZE + getU32(bytes, AT_PAYLOAD_SIZE) ||
        getU32(bytes, AT_CHECKSUM) != imageChecksum(bytes, size))
        status |= FW_STATUS_BAD_CHECKSUM;
    std::uint32_t kind = getU32(bytes, AT_KIND);
    if (!isKnownProduct(getU32(bytes, AT_PRODUCT)) || !isKnownKind(kind))
        status |= FW_STATUS_UNKNOWN_PRODUCT;
    if (status != 0) return status;

    std::memset(record, 0, sizeof *record);
    std::memcpy(record->reserved0, bytes, 4);
    std::memcpy(record->reserved0 + 4, bytes + AT_PRODUCT, 4);
    std::memcpy(record->reserved1, bytes + AT_PAYLOAD_SIZE, 8);
    record->imageKind = kind;
    switch (kind) {
    case KIND_ONE:
    case KIND_TWO:
        std::memcpy(record->version, bytes + AT_NUMERIC_VERSION, 4);
        break;
    case KIND_KTRX:
        copyText(record->versionText, sizeof record->versionText, bytes, AT_VERSION_TEXT,
                 VERSION_TEXT_WIDTH);
        break;
    default:
        copyText(record->version, sizeof record->version, bytes, AT_VERSION_TEXT,
                 VERSION_TEXT_WIDTH);
        break;
    }
    copyText(record->manufacturer, sizeof record->manufacturer, bytes, AT_MANUFACTURER,
             MANUFACTURER_WIDTH);
    copyText(record->platform, sizeof record->platform, bytes, AT_PLATFORM, PLATFORM_WIDTH);
    copyText(record->imageInfo, sizeof record->imageInfo, bytes, AT_INFO, INFO_WIDTH);
    return 0;
}

} // namespace image
