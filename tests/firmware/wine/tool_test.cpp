// quillscan.exe under Wine against the scripted library: arguments, statuses, description lines.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "child_process.h"
#include "record_builder.h"

namespace {

using testing_fw::makeRecord;
using testing_fw::setField;
using testing_fw::setNumericVersion;

const char USAGE[] = "Usage Error: QUILLSCAN [drive:][path]filename\n";

std::string five(const std::string& path, const std::string& version, const std::string& kindLine,
                 const std::string& maker = "Maker", const std::string& platform = "Plat")
{
    return "Filename\t: " + path + "\nVersion \t: " + version + "\n" + kindLine +
           "Manufacturer\t: " + maker + "\nPlatform\t: " + platform + "\n";
}

std::string invalid(int number, const std::string& path, const std::string& reason)
{
    return "Execution Error " + std::to_string(number) + ": Switch firmware file " + path +
           " is invalid due to " + reason + ".\n";
}

using Fill = std::function<void(fwHdr&)>;

// A record of the kind, then the row's changes.
Fill kind(std::uint32_t value, Fill more = nullptr)
{
    return [value, more](fwHdr& r) {
        r = makeRecord(value);
        if (more) more(r);
    };
}

struct Case {
    const char* name;
    std::string arguments;  // the command line after the program name, as typed
    std::string file;       // the scripted image to write first; empty: none
    int status;
    Fill fill;              // the record to answer with; nullptr: the status alone
    unsigned long exitCode;
    std::string out;
    std::string err;
    std::string logged;     // the path the library must get, once; empty: no call at all
};

class QuillscanTool : public ::testing::Test {
protected:
    static std::string folder;

    static void SetUpTestSuite()
    {
        folder = makeScratchFolder("tool");
        CopyFileA((testPaths.binFolder + "\\quillscan.exe").c_str(),
                  (folder + "\\quillscan.exe").c_str(), FALSE);
        CopyFileA(testPaths.fakeLibrary.c_str(), (folder + "\\quillscan.dll").c_str(), FALSE);
        SetEnvironmentVariableA("QUILLSCAN_FAKE_LOG", (folder + "\\calls.log").c_str());
    }
    static void TearDownTestSuite() { removeTree(folder); }

    void check(const Case& c)
    {
        SCOPED_TRACE(c.name);
        if (!c.file.empty()) {
            std::string bytes;
            for (int i = 0; i < 4; ++i) bytes += static_cast<char>(static_cast<unsigned>(c.status) >> (8 * i));
            if (c.fill) {
                fwHdr record;
                c.fill(record);
                bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
            }
            ASSERT_TRUE(writeFileBytes(folder + "\\" + c.file, bytes));
        }
        DeleteFileA((folder + "\\calls.log").c_str());
        std::string line = "quillscan.exe" + (c.arguments.empty() ? "" : " " + c.arguments);
        ChildResult result = runChild(folder + "\\quillscan.exe", line, folder);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, crlf(c.out));
        EXPECT_EQ(result.err, crlf(c.err));
        EXPECT_EQ(readFileBytes(folder + "\\calls.log"), c.logged.empty() ? "" : c.logged + "\n");
    }
};
std::string QuillscanTool::folder;

TEST_F(QuillscanTool, WrongArgumentCountIsTheUsageError)
{
    const Case cases[] = {
        {"no argument", "", "", 0, nullptr, 1, "", USAGE, ""},
        {"blank path without quotes", "my image.bin", "my image.bin", 0, kind(KIND_ONE), 1, "", USAGE, ""},
        {"three arguments", "a b c", "", 0, nullptr, 1, "", USAGE, ""},
    };
    for (const Case& c : cases) check(c);
}

TEST_F(QuillscanTool, EveryStatusGivesItsMessageAndExitCode)
{
    const std::string p = "st.bin";
    const Case cases[] = {
        {"-1", p, p, -1, nullptr, 2, "", "Execution Error 2: Switch firmware file st.bin could not be found or read.\n", p},
        {"missing file", "absent.bin", "", 0, nullptr, 2, "",
         "Execution Error 2: Switch firmware file absent.bin could not be found or read.\n", "absent.bin"},
        {"9", p, p, 9, nullptr, 3, "", invalid(3, p, "an invalid checksum"), p},
        {"-2", p, p, -2, nullptr, 3, "", invalid(3, p, "an invalid checksum"), p},
        {"3", p, p, 3, nullptr, 4, "", invalid(4, p, "an invalid signature"), p},
        {"4", p, p, 4, nullptr, 4, "", invalid(4, p, "an invalid signature"), p},
        {"6", p, p, 6, nullptr, 5, "", invalid(5, p, "an unknown product ID"), p},
        {"16", p, p, 16, nullptr, 16, "", "Unknown error code 16 .\n", p},
        {"256", p, p, 256, nullptr, 256, "", "Unknown error code 256 .\n", p},
        {"-16", p, p, -16, nullptr, 0xFFFFFFF0ul, "", "Unknown error code -16 .\n", p},
        {"failure with a record", p, p, 8, kind(KIND_ONE), 3, "", invalid(3, p, "an invalid checksum"), p},
    };
    for (const Case& c : cases) check(c);
}

TEST_F(QuillscanTool, FiveLinesForEveryKind)
{
    const Case cases[] = {
        {"kind 1, byte 0xFF is -1", ".\\k1.bin", "k1.bin", 0,
         kind(KIND_ONE, [](fwHdr& r) { setNumericVersion(r, 4, 0xFF, 0, 5); setField(r.imageInfo, " Runtime"); }),
         0, five(".\\k1.bin", "4.-1.0.5", "Image Type\t:  Runtime\n"), "", ".\\k1.bin"},
        {"kind 2", "k2.bin", "k2.bin", 0,
         kind(KIND_TWO, [](fwHdr& r) { setNumericVersion(r, 2, 0, 3, 0x81); setField(r.imageInfo, "Boot"); }),
         0, five("k2.bin", "2.0.3.-127", "Image Type\t: Boot\n"), "", "k2.bin"},
        {"KTRX", "kt.bin", "kt.bin", 0,
         kind(KIND_KTRX, [](fwHdr& r) { setField(r.versionText, " 7.2 build 118"); setField(r.imageInfo, "Combined"); }),
         0, five("kt.bin", " 7.2 build 118", "Image Type\t: Combined\n"), "", "kt.bin"},
        {"TOBR, blanks and tabs trimmed", "tb.bin", "tb.bin", 0,
         kind(KIND_TOBR, [](fwHdr& r) { setField(r.version, " \t3.10"); setField(r.imageInfo, "\t 2011-04-18");
                                        setField(r.manufacturer, "  \t Sample Maker"); setField(r.platform, "\tBay 1G"); }),
         0, five("tb.bin", "3.10", "Build Date\t: 2011-04-18\n", "Sample Maker", "Bay 1G"), "", "tb.bin"},
        {"SQUM, empty build date", "sq.bin", "sq.bin", 0,
         kind(KIND_SQUM, [](fwHdr& r) { setField(r.version, "1.0b"); }),
         0, five("sq.bin", "1.0b", "Build Date\t: Unknown\n"), "", "sq.bin"},
        {"TOBR, build date of blanks", "tb2.bin", "tb2.bin", 0,
         kind(KIND_TOBR, [](fwHdr& r) { setField(r.version, "3"); setField(r.imageInfo, "    "); }),
         0, five("tb2.bin", "3", "Build Date\t: \n"), "", "tb2.bin"},
        {"64-byte manufacturer without NUL", "m64.bin", "m64.bin", 0,
         kind(KIND_ONE, [](fwHdr& r) { setNumericVersion(r, 1, 0, 0, 0); setField(r.manufacturer, std::string(64, 'M')); }),
         0, five("m64.bin", "1.0.0.0", "Image Type\t: \n", std::string(64, 'M')), "", "m64.bin"},
        {"texts without NUL end with their fields", "nonul.bin", "nonul.bin", 0,
         kind(KIND_KTRX, [](fwHdr& r) { setField(r.imageInfo, std::string(128, 'I'));
                                        setField(r.versionText, std::string(256, 'V')); }),
         0, five("nonul.bin", std::string(256, 'V'), "Image Type\t: " + std::string(128, 'I') + "\n"), "", "nonul.bin"},
        {"unknown kind", "uk.bin", "uk.bin", 0, kind(0x41424344),
         0, five("uk.bin", "Unknown", ""), "", "uk.bin"},
    };
    for (const Case& c : cases) check(c);
}

TEST_F(QuillscanTool, PathsArePassedAndWrittenAsTyped)
{
    const Case cases[] = {
        {"blanks in double quotes", "\"my image.bin\"", "my image.bin", 0,
         kind(KIND_SQUM, [](fwHdr& r) { setField(r.version, "2"); }),
         0, five("my image.bin", "2", "Build Date\t: Unknown\n"), "", "my image.bin"},
        {"percent signs, success", "100%s%n%d.bin", "100%s%n%d.bin", 0,
         kind(KIND_SQUM, [](fwHdr& r) { setField(r.version, "2"); }),
         0, five("100%s%n%d.bin", "2", "Build Date\t: Unknown\n"), "", "100%s%n%d.bin"},
        {"percent signs, error", "%s%n.bin", "%s%n.bin", 1, nullptr,
         4, "", invalid(4, "%s%n.bin", "an invalid signature"), "%s%n.bin"},
    };
    for (const Case& c : cases) check(c);
}

// Standard output whose reader is gone: the description is lost, and the run says so.
TEST_F(QuillscanTool, UnwritableOutputIsReportedWithStatus7)
{
    fwHdr record = makeRecord(KIND_SQUM);
    std::string bytes(4, '\0');
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    ASSERT_TRUE(writeFileBytes(folder + "\\out.bin", bytes));
    struct Row { const char* name; std::string file; unsigned long exitCode; std::string err; };
    const Row rows[] = {
        {"description", "out.bin", 7, "Output Error 7: The description could not be written to standard output.\n"},
        {"error message, written as ever", "absent.bin", 2,
         "Execution Error 2: Switch firmware file absent.bin could not be found or read.\n"},
    };
    for (const Row& row : rows) {
        ChildResult result = runChild(folder + "\\quillscan.exe", "quillscan.exe " + row.file, folder, 20000, true);
        ASSERT_TRUE(result.finished) << row.name;
        EXPECT_EQ(result.exitCode, row.exitCode) << row.name;
        EXPECT_EQ(result.err, crlf(row.err)) << row.name;
    }
}

} // namespace
