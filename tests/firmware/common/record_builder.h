// Building fwHdr records byte by byte for the tests, NUL-less fields included.
#pragma once

#include <cstring>
#include <string>

#include "quillscan.h"

namespace testing_fw {

// Copies bytes into a field and pads with NULs; bytes as long as the field leave no NUL.
template <std::size_t N>
void setField(char (&field)[N], const std::string& bytes)
{
    std::memset(field, 0, N);
    std::memcpy(field, bytes.data(), bytes.size() < N ? bytes.size() : N);
}

// A record of the given kind with every byte set to 'Z' first, as an uncleared record may be,
// and the common texts filled in.
inline fwHdr makeRecord(std::uint32_t kind)
{
    fwHdr record;
    std::memset(&record, 'Z', sizeof record);
    record.imageKind = kind;
    setField(record.version, "");
    setField(record.manufacturer, "Maker");
    setField(record.platform, "Plat");
    setField(record.imageInfo, "");
    setField(record.versionText, "");
    return record;
}

// Kinds 1 and 2: the four version bytes from the most significant (offset 31) down.
inline void setNumericVersion(fwHdr& record, int b31, int b30, int b29, int b28)
{
    record.version[3] = static_cast<char>(b31);
    record.version[2] = static_cast<char>(b30);
    record.version[1] = static_cast<char>(b29);
    record.version[0] = static_cast<char>(b28);
}

} // namespace testing_fw
