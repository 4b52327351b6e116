// Status-to-error-number rules and error message texts.
#include <gtest/gtest.h>

#include "report.h"

namespace {

TEST(FirmwareReport, StatusTurnsIntoErrorNumberByFirstMatchingRule)
{
    struct Row { int status; int errorNumber; const char* why; };
    const Row rows[] = {
        {0, 0, "success"},
        {-1, 2, "missing or unreadable"},
        {8, 3, "checksum"},
        {9, 3, "checksum before signature"},
        {-2, 3, "-2 has bit 0x8"},
        {0xB, 3, "checksum before all"},
        {1, 4, "signature"},
        {3, 4, "signature before product"},
        {2, 5, "product"},
        {6, 5, "0x4 and 0x2"},
        {4, 4, "0x4 alone is the status itself"},
        {16, 16, "no known bit"},
        {0x100, 0x100, "beyond a byte"},
        {-16, -16, "negative without known bits"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(errorNumberFor(row.status), row.errorNumber) << "status " << row.status << ": " << row.why;
}

TEST(FirmwareReport, MessagesCarryThePathByteForByte)
{
    struct Row { int errorNumber; const char* path; const char* text; };
    const Row rows[] = {
        {1, "ignored", "Usage Error: QUILLSCAN [drive:][path]filename\n"},
        {2, "a.bin", "Execution Error 2: Switch firmware file a.bin could not be found or read.\n"},
        {3, "C:\\fw\\b c.bin",
         "Execution Error 3: Switch firmware file C:\\fw\\b c.bin is invalid due to an invalid checksum.\n"},
        {4, "100%s%n.bin",
         "Execution Error 4: Switch firmware file 100%s%n.bin is invalid due to an invalid signature.\n"},
        {5, "x", "Execution Error 5: Switch firmware file x is invalid due to an unknown product ID.\n"},
        {16, "x", "Unknown error code 16 .\n"},
        {-16, "x", "Unknown error code -16 .\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(errorMessage(row.errorNumber, row.path), row.text) << "error " << row.errorNumber;
}

} // namespace
