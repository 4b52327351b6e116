// One run of the tool against a fake library: usage, the single call, output or error.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "record_builder.h"
#include "run.h"

namespace {

// Records every call and answers with a preset status and record.
class FakeLibrary : public FirmwareLibrary {
public:
    int status = 0;
    fwHdr answer = testing_fw::makeRecord(KIND_TOBR);
    std::vector<const char*> paths;

    int describe(const char* path, fwHdr* record) override
    {
        paths.push_back(path);
        *record = answer;
        return status;
    }
};

TEST(FirmwareRun, WrongArgumentCountIsTheUsageErrorWithoutACall)
{
    const char* none[] = {"quillscan"};
    const char* two[] = {"quillscan", "my", "image.bin"};
    struct Row { const char* name; int argc; const char* const* argv; };
    const Row rows[] = {{"no argument", 1, none}, {"two arguments", 3, two}};
    for (const Row& row : rows) {
        FakeLibrary library;
        RunResult result = runQuillscan(row.argc, row.argv, library);
        EXPECT_EQ(result.exitCode, 1) << row.name;
        EXPECT_EQ(result.out, "") << row.name;
        EXPECT_EQ(result.err, "Usage Error: QUILLSCAN [drive:][path]filename\n") << row.name;
        EXPECT_TRUE(library.paths.empty()) << row.name;
    }
}

TEST(FirmwareRun, FailureWritesOnlyTheMessageAndExitsWithTheErrorNumber)
{
    struct Row { int status; int exitCode; const char* err; };
    const Row rows[] = {
        {-1, 2, "Execution Error 2: Switch firmware file %d.bin could not be found or read.\n"},
        {-2, 3, "Execution Error 3: Switch firmware file %d.bin is invalid due to an invalid checksum.\n"},
        {4, 4, "Execution Error 4: Switch firmware file %d.bin is invalid due to an invalid signature.\n"},
        {6, 5, "Execution Error 5: Switch firmware file %d.bin is invalid due to an unknown product ID.\n"},
        {16, 16, "Unknown error code 16 .\n"},
    };
    for (const Row& row : rows) {
        FakeLibrary library;
        library.status = row.status;
        const char* argv[] = {"quillscan", "%d.bin"};
        RunResult result = runQuillscan(2, argv, library);
        EXPECT_EQ(result.exitCode, row.exitCode) << "status " << row.status;
        EXPECT_EQ(result.out, "") << "status " << row.status;
        EXPECT_EQ(result.err, row.err) << "status " << row.status;
    }
}

TEST(FirmwareRun, SuccessCallsOnceWithThePathAsGivenAndPrintsTheDescription)
{
    FakeLibrary library;
    testing_fw::setField(library.answer.version, "3.1");
    testing_fw::setField(library.answer.imageInfo, "2011-04-18");
    const char* argv[] = {"quillscan", "..\\fw dir\\image.bin"};
    RunResult result = runQuillscan(2, argv, library);
    ASSERT_EQ(library.paths.size(), 1u);
    EXPECT_EQ(library.paths[0], argv[1]) << "the argument itself, not a copy or a full path";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "Filename\t: ..\\fw dir\\image.bin\nVersion \t: 3.1\nBuild Date\t: 2011-04-18\n"
              "Manufacturer\t: Maker\nPlatform\t: Plat\n");
}

// A full disk: the description cannot be written. Standard error still can, and says so.
TEST(FirmwareRun, UnwritableOutputEndsWithStatus7)
{
    struct Row { const char* name; RunResult run; int exitCode; const char* err; };
    const Row rows[] = {
        {"description", {0, "Filename\t: a.bin\n", ""}, 7,
         "Output Error 7: The description could not be written to standard output.\n"},
        {"error message only", {2, "", "Execution Error 2: x\n"}, 2, "Execution Error 2: x\n"},
    };
    for (const Row& row : rows) {
        std::FILE* full = std::fopen("/dev/full", "w");
        std::FILE* err = std::tmpfile();
        ASSERT_TRUE(full && err);
        EXPECT_EQ(writeRunResult(row.run, full, err), row.exitCode) << row.name;
        std::string written(256, '\0');
        std::rewind(err);
        written.resize(std::fread(&written[0], 1, written.size(), err));
        EXPECT_EQ(written, row.err) << row.name;
        std::fclose(full);
        std::fclose(err);
    }
}

} // namespace
