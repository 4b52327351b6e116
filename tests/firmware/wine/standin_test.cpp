// quillscan.exe with the stand-in library beside it in the build tree: generated sample images
// read back, damaged copies refused, and no start at all without the library.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "child_process.h"
#include "image_format.h"

namespace {

class StandinRoundTrip : public ::testing::Test {
protected:
    static std::string folder;
    static void SetUpTestSuite() { folder = makeScratchFolder("standin"); }
    static void TearDownTestSuite() { removeTree(folder); }

    static ChildResult run(const std::string& program, const std::string& arguments)
    {
        return runChild(testPaths.binFolder + "\\" + program, program + " " + arguments, folder);
    }

    static void generate(const std::string& arguments)
    {
        ChildResult made = run("mkfwimage.exe", arguments);
        ASSERT_TRUE(made.finished && made.exitCode == 0) << arguments << ": " << made.err;
    }
};
std::string StandinRoundTrip::folder;

const char SAMPLE_TAIL[] = "Manufacturer\t: Sample Switchworks\nPlatform\t: Bay Switch 1G\n";

TEST_F(StandinRoundTrip, GeneratedSamplesReadBack)
{
    struct Row { const char* generatorArguments; const char* file; std::string versionAndKind; std::string tail; };
    const Row rows[] = {
        {"1 one.img", "one.img", "4.1.0.5\nImage Type\t: Runtime Image\n", SAMPLE_TAIL},
        {"2 two.img", "two.img", "2.0.3.1\nImage Type\t: Boot Image\n", SAMPLE_TAIL},
        {"KTRX ktrx.img", "ktrx.img", "7.2 build 118\nImage Type\t: Combined Image\n", SAMPLE_TAIL},
        {"TOBR tobr.img", "tobr.img", "3.10\nBuild Date\t: 2011-04-18\n", SAMPLE_TAIL},
        {"SQUM squm.img", "squm.img", "1.0b\nBuild Date\t: Unknown\n", SAMPLE_TAIL},
        {"1 \"my fw.img\" --version 4.255.0.5 --manufacturer \" \tNorth Yard\" --platform \"\tEdge 10G\""
         " --info \"Boot Loader\" --product 0x0B10 --payload 0",
         "\"my fw.img\"", "4.-1.0.5\nImage Type\t: Boot Loader\n",
         "Manufacturer\t: North Yard\nPlatform\t: Edge 10G\n"},
        {"TOBR blank.img --version \" 9.9\" --info \"   \"", "blank.img", "9.9\nBuild Date\t: \n", SAMPLE_TAIL},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.generatorArguments);
        generate(row.generatorArguments);
        ChildResult shown = run("quillscan.exe", row.file);
        ASSERT_TRUE(shown.finished);
        std::string typed = row.file;
        if (typed.front() == '"') typed = typed.substr(1, typed.size() - 2);
        EXPECT_EQ(shown.exitCode, 0u);
        EXPECT_EQ(shown.out, crlf("Filename\t: " + typed + "\nVersion \t: " + row.versionAndKind + row.tail));
        EXPECT_EQ(shown.err, "");
    }
}

TEST_F(StandinRoundTrip, DamagedCopiesAndMissingFilesGiveTheirErrors)
{
    generate("1 good.img");
    const std::string good = readFileBytes(folder + "\\good.img");
    ASSERT_EQ(good.size(), image::HEADER_SIZE + 1024);
    auto reseal = [](std::string& s) {
        std::vector<unsigned char> bytes(s.begin(), s.end());
        image::sealChecksum(bytes);
        s.assign(bytes.begin(), bytes.end());
    };
    struct Row { const char* file; std::function<void(std::string&)> damage; unsigned long exitCode; std::string err; };
    const Row rows[] = {
        {"checksum.img", [](std::string& s) { s[700] ^= 0x40; }, 3,
         "Execution Error 3: Switch firmware file checksum.img is invalid due to an invalid checksum.\n"},
        {"signature.img", [](std::string& s) { s[1] = 'Z'; }, 4,
         "Execution Error 4: Switch firmware file signature.img is invalid due to an invalid signature.\n"},
        {"product.img", [&](std::string& s) { s[image::AT_PRODUCT] = 0x7F; reseal(s); }, 5,
         "Execution Error 5: Switch firmware file product.img is invalid due to an unknown product ID.\n"},
        {"absent.img", nullptr, 2,
         "Execution Error 2: Switch firmware file absent.img could not be found or read.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        if (row.damage) {
            std::string copy = good;
            row.damage(copy);
            ASSERT_TRUE(writeFileBytes(folder + "\\" + row.file, copy));
        }
        ChildResult shown = run("quillscan.exe", row.file);
        ASSERT_TRUE(shown.finished);
        EXPECT_EQ(shown.exitCode, row.exitCode);
        EXPECT_EQ(shown.out, "");
        EXPECT_EQ(shown.err, crlf(row.err));
    }
}

TEST_F(StandinRoundTrip, WithoutTheLibraryThePlatformDoesNotStartTheTool)
{
    const std::string alone = folder + "\\alone";
    CreateDirectoryA(alone.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((testPaths.binFolder + "\\quillscan.exe").c_str(),
                          (alone + "\\quillscan.exe").c_str(), FALSE));
    generate("1 alone\\a.img");
    ChildResult shown = runChild(alone + "\\quillscan.exe", "quillscan.exe a.img", alone);
    ASSERT_TRUE(shown.finished);
    EXPECT_EQ(shown.exitCode, 0xC0000135ul) << "STATUS_DLL_NOT_FOUND";
    EXPECT_EQ(shown.out, "");
}

TEST_F(StandinRoundTrip, GeneratorHelpEndsWithZeroAndItsProductOptionGivesError5)
{
    ChildResult help = run("mkfwimage.exe", "--help");
    ASSERT_TRUE(help.finished);
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_EQ(help.out.rfind("usage: mkfwimage 1|2|KTRX|TOBR|SQUM FILE", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");

    generate("SQUM unknown.img --product 0x7F");
    ChildResult shown = run("quillscan.exe", "unknown.img");
    ASSERT_TRUE(shown.finished);
    EXPECT_EQ(shown.exitCode, 5u);
}

} // namespace
