// The five description lines per image kind, trimming, and reads bounded by each field.
#include <gtest/gtest.h>

#include <functional>

#include "description.h"
#include "record_builder.h"

namespace {

using testing_fw::makeRecord;
using testing_fw::setField;
using testing_fw::setNumericVersion;

std::string lines(const std::string& version, const std::string& kindLine,
                  const std::string& maker = "Maker", const std::string& platform = "Plat")
{
    return "Filename\t: f.bin\nVersion \t: " + version + "\n" + kindLine +
           "Manufacturer\t: " + maker + "\nPlatform\t: " + platform + "\n";
}

struct Row {
    const char* name;
    std::uint32_t kind;
    std::function<void(fwHdr&)> fill;
    std::string expected;
};

TEST(FirmwareDescription, LinesForEveryKindAndField)
{
    const std::string blanks128(128, ' ');
    const std::string maker64(64, 'M');
    const Row rows[] = {
        {"kind 1 version bytes 31 down to 28", KIND_ONE,
         [](fwHdr& r) { setNumericVersion(r, 4, 1, 0, 5); setField(r.imageInfo, "Runtime"); },
         lines("4.1.0.5", "Image Type\t: Runtime\n")},
        {"kind 2 signed bytes", KIND_TWO,
         [](fwHdr& r) { setNumericVersion(r, 0xFF, 0x80, 127, 0); setField(r.imageInfo, " Boot"); },
         lines("-1.-128.127.0", "Image Type\t:  Boot\n")},
        {"KTRX prints versionText and imageInfo whole", KIND_KTRX,
         [](fwHdr& r) { setField(r.versionText, "  7.2 b1"); setField(r.imageInfo, "\tCombined"); },
         lines("  7.2 b1", "Image Type\t: \tCombined\n")},
        {"TOBR trims version and build date", KIND_TOBR,
         [](fwHdr& r) { setField(r.version, " \t3.10"); setField(r.imageInfo, "\t 2011-04-18"); },
         lines("3.10", "Build Date\t: 2011-04-18\n")},
        {"SQUM with empty build date", KIND_SQUM,
         [](fwHdr& r) { setField(r.version, "1.0b"); setField(r.imageInfo, ""); },
         lines("1.0b", "Build Date\t: Unknown\n")},
        {"build date of blanks only", KIND_TOBR,
         [&](fwHdr& r) { setField(r.version, "1"); setField(r.imageInfo, "   "); },
         lines("1", "Build Date\t: \n")},
        {"build date of 128 blanks, no NUL", KIND_SQUM,
         [&](fwHdr& r) { setField(r.version, "1"); setField(r.imageInfo, blanks128);
                         setField(r.versionText, "NEXT"); },
         lines("1", "Build Date\t: \n")},
        {"manufacturer and platform trimmed", KIND_ONE,
         [](fwHdr& r) { setNumericVersion(r, 1, 2, 3, 4); setField(r.manufacturer, " \t Maker \t");
                        setField(r.platform, "\t\tPlat"); },
         lines("1.2.3.4", "Image Type\t: \n", "Maker \t", "Plat")},
        {"64-byte manufacturer without NUL", KIND_ONE,
         [&](fwHdr& r) { setNumericVersion(r, 1, 0, 0, 0); setField(r.manufacturer, maker64); },
         lines("1.0.0.0", "Image Type\t: \n", maker64)},
        {"manufacturer after blanks without NUL stops at its field", KIND_ONE,
         [&](fwHdr& r) { setNumericVersion(r, 1, 0, 0, 0);
                         setField(r.manufacturer, "   " + std::string(61, 'M')); },
         lines("1.0.0.0", "Image Type\t: \n", std::string(61, 'M'))},
        {"manufacturer of blanks only without NUL", KIND_ONE,
         [&](fwHdr& r) { setNumericVersion(r, 1, 0, 0, 0); setField(r.manufacturer, std::string(64, ' ')); },
         lines("1.0.0.0", "Image Type\t: \n", "")},
        {"TOBR version of 8 bytes without NUL", KIND_TOBR,
         [](fwHdr& r) { setField(r.version, "12345678"); setField(r.imageInfo, "d"); },
         lines("12345678", "Build Date\t: d\n")},
        {"imageInfo without NUL stops before versionText", KIND_ONE,
         [](fwHdr& r) { setNumericVersion(r, 1, 0, 0, 0); setField(r.imageInfo, std::string(128, 'I'));
                        setField(r.versionText, "NEXT"); },
         lines("1.0.0.0", "Image Type\t: " + std::string(128, 'I') + "\n")},
        {"platform without NUL stops before imageInfo", KIND_TWO,
         [](fwHdr& r) { setNumericVersion(r, 1, 0, 0, 0); setField(r.platform, std::string(32, 'P'));
                        setField(r.imageInfo, "Boot"); },
         lines("1.0.0.0", "Image Type\t: Boot\n", "Maker", std::string(32, 'P'))},
        {"unknown kind", 0x12345678,
         [](fwHdr& r) { setField(r.version, "1.0"); },
         lines("Unknown", "")},
    };
    for (const Row& row : rows) {
        fwHdr record = makeRecord(row.kind);
        row.fill(record);
        EXPECT_EQ(describeRecord("f.bin", record), row.expected) << row.name;
    }
}

// versionText is the record's last field: a NUL-less one must not run into what follows.
TEST(FirmwareDescription, VersionTextWithoutNulEndsWithTheRecord)
{
    struct {
        fwHdr record;
        char after[16];
    } memory;
    memory.record = makeRecord(KIND_KTRX);
    setField(memory.record.versionText, std::string(256, 'V'));
    setField(memory.record.imageInfo, "Combined");
    std::memset(memory.after, 'X', sizeof memory.after);
    EXPECT_EQ(describeRecord("f.bin", memory.record),
              lines(std::string(256, 'V'), "Image Type\t: Combined\n"));
}

TEST(FirmwareDescription, FilenameLineKeepsThePathAsGiven)
{
    fwHdr record = makeRecord(KIND_SQUM);
    setField(record.version, "2");
    const std::string text = describeRecord("C:\\my fw\\100%d.bin", record);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "Filename\t: C:\\my fw\\100%d.bin\n");
}

} // namespace
