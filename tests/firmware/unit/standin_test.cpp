// The stand-in library over real files: sample images read back, damaged ones refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

#include "description.h"
#include "image_format.h"
#include "quillscan.h"

namespace {

using Bytes = std::vector<unsigned char>;

class StandinFiles : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "standin_" + std::to_string(::getpid()) + ".img";

    void TearDown() override { std::remove(path.c_str()); }

    void write(const Bytes& bytes)
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
        std::fclose(file);
    }
};

image::ImageContent sampleContent(std::uint32_t kind)
{
    image::ImageContent content;
    content.kind = kind;
    content.numericVersion[0] = 5;
    content.numericVersion[3] = -1;
    content.versionText = kind == KIND_KTRX ? "7.2 build 118" : "3.10";
    content.manufacturer = "Sample Switchworks";
    content.platform = "Bay Switch 1G";
    content.info = kind == KIND_SQUM ? "" : "Runtime";
    content.payloadSize = 100;
    return content;
}

TEST(FirmwareImageFormat, Crc32MatchesTheStandardCheckValue)
{
    const std::string text = "123456789";
    EXPECT_EQ(image::crc32(reinterpret_cast<const unsigned char*>(text.data()), text.size()),
              0xCBF43926u);
}

TEST_F(StandinFiles, SampleOfEveryKindReadsBack)
{
    struct Row { std::uint32_t kind; const char* versionAndKindLine; };
    const Row rows[] = {
        {KIND_ONE, "-1.0.0.5\nImage Type\t: Runtime\n"},
        {KIND_TWO, "-1.0.0.5\nImage Type\t: Runtime\n"},
        {KIND_KTRX, "7.2 build 118\nImage Type\t: Runtime\n"},
        {KIND_TOBR, "3.10\nBuild Date\t: Runtime\n"},
        {KIND_SQUM, "3.10\nBuild Date\t: Unknown\n"},
    };
    for (const Row& row : rows) {
        write(image::encodeImage(sampleContent(row.kind)));
        fwHdr record;
        ASSERT_EQ(getFirmwareDescription(path.c_str(), &record), 0) << std::hex << row.kind;
        EXPECT_EQ(describeRecord("s.img", record),
                  std::string("Filename\t: s.img\nVersion \t: ") + row.versionAndKindLine +
                      "Manufacturer\t: Sample Switchworks\nPlatform\t: Bay Switch 1G\n")
            << std::hex << row.kind;
    }
}

TEST_F(StandinFiles, LongestTextsEndInsideTheirRecordFields)
{
    image::ImageContent content = sampleContent(KIND_TOBR);
    content.versionText = std::string(63, 'v');  // the record's version field holds 7 and a NUL
    content.manufacturer = std::string(63, 'm');
    content.platform = std::string(31, 'p');
    content.info = std::string(127, 'i');
    write(image::encodeImage(content));
    fwHdr record;
    ASSERT_EQ(getFirmwareDescription(path.c_str(), &record), 0);
    EXPECT_EQ(std::string(record.version), std::string(7, 'v'));
    EXPECT_EQ(std::string(record.manufacturer), content.manufacturer);
    EXPECT_EQ(std::string(record.platform), content.platform);
    EXPECT_EQ(std::string(record.imageInfo), content.info);
}

TEST_F(StandinFiles, DamagedImagesGiveTheirStatusBits)
{
    auto reseal = [](Bytes& b) { image::sealChecksum(b); };
    struct Row { const char* name; std::function<void(Bytes&)> damage; int status; };
    const Row rows[] = {
        {"payload byte changed", [](Bytes& b) { b.back() ^= 1; }, FW_STATUS_BAD_CHECKSUM},
        {"header text changed", [](Bytes& b) { b[image::AT_PLATFORM] = 'X'; }, FW_STATUS_BAD_CHECKSUM},
        {"cut inside the payload", [](Bytes& b) { b.resize(b.size() - 1); }, FW_STATUS_BAD_CHECKSUM},
        {"cut inside the header", [](Bytes& b) { b.resize(300); }, FW_STATUS_BAD_CHECKSUM},
        {"byte appended, resealed", [&](Bytes& b) { b.push_back(0); reseal(b); }, FW_STATUS_BAD_CHECKSUM},
        {"signature", [](Bytes& b) { b[0] = 'X'; }, FW_STATUS_BAD_SIGNATURE},
        {"format revision", [&](Bytes& b) { b[image::AT_REVISION] = 2; reseal(b); }, FW_STATUS_BAD_SIGNATURE},
        {"three bytes only", [](Bytes& b) { b.resize(3); }, FW_STATUS_BAD_SIGNATURE},
        {"empty file", [](Bytes& b) { b.clear(); }, FW_STATUS_BAD_SIGNATURE},
        {"unknown product, resealed", [&](Bytes& b) { b[image::AT_PRODUCT] = 0x77; reseal(b); },
         FW_STATUS_UNKNOWN_PRODUCT},
        {"unknown kind, resealed", [&](Bytes& b) { b[image::AT_KIND] = 3; reseal(b); },
         FW_STATUS_UNKNOWN_PRODUCT},
        {"unknown product and bad checksum", [](Bytes& b) { b[image::AT_PRODUCT] = 0x77; },
         FW_STATUS_UNKNOWN_PRODUCT | FW_STATUS_BAD_CHECKSUM},
    };
    for (const Row& row : rows) {
        Bytes bytes = image::encodeImage(sampleContent(KIND_ONE));
        row.damage(bytes);
        write(bytes);
        fwHdr record;
        EXPECT_EQ(getFirmwareDescription(path.c_str(), &record), row.status) << row.name;
    }
}

TEST_F(StandinFiles, MissingFileOrDirectoryIsUnreadable)
{
    fwHdr record;
    EXPECT_EQ(getFirmwareDescription(path.c_str(), &record), -1) << "missing file";
    EXPECT_EQ(getFirmwareDescription(::testing::TempDir().c_str(), &record), -1) << "directory";
}

} // namespace
