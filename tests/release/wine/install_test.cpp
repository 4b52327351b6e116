// The kit's packages under Wine: msiexec installs them where they belong, the installed and the
// unpacked programs start, and msiexec removes all of it but the catalogue a user added.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "files_win32.h"
#include "kit_probe.h"
#include "mapper_driver.h"
#include "version_win32.h"

namespace {

// Set by main: the release package, the package of the programs this test can run (the same
// one where Wine runs the release's programs), and an unpacked zip of those programs.
std::string releaseMsi, runnableMsi, unpackedFolder;

const char* const kInstalledFiles[] = {"bwplan.exe", "bwmap.exe", "pkgrun.exe", "quillscan.exe", "README.txt",
                                       "bwplan-sample.ini"};
const char* const kSupportedOs[] = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
const std::string kSiteCatalogue = "\"Ridge\" 0x4000000 AABB 1212\r\n";

struct ProgramRecord {
    const char* file;
    DWORD fileVersionMs;
    const char* versionText;
    const char* productName;
    bool dpiAware;
};
const ProgramRecord kPrograms[] = {
    {"bwplan.exe", 0x00010000, "1, 0, 0", "Baywise", true},
    {"bwmap.exe", 0x00010000, "1, 0, 0", "Baywise", false},
    {"pkgrun.exe", 0x00010000, "1, 0, 0", "Baywise", false},
    {"quillscan.exe", 0x00040001, "4, 1, 0, 0", "<missing>", false},
};

// The Start-menu shortcut, in the all-users or the user's Programs folder.
std::string shortcutPath() {
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::string path = shellFolder(csidl) + "\\Baywise.lnk";
        if (fileExists(path)) return path;
    }
    return "";
}

// Installs a package for the whole test and removes it at the end, checking what is left.
class InstalledKit {
public:
    InstalledKit(const std::string& msi, int programFilesCsidl)
        : msi_(msi), folder_(shellFolder(programFilesCsidl) + "\\Baywise") {
        EXPECT_EQ(runAndWait("msiexec /i \"" + msi_ + "\" /qn"), 0) << msi_;
    }
    const std::string& folder() const { return folder_; }

    // Removes the package; every installed file, the shortcut and the entry are gone, and a
    // catalogue added to the install folder stays as it was.
    void removeKeepingSiteCatalogue() {
        const std::string catalogue = folder_ + "\\bwplan.ini";
        ASSERT_TRUE(writeFileBytes(catalogue, kSiteCatalogue));
        EXPECT_EQ(runAndWait("msiexec /x \"" + msi_ + "\" /qn"), 0);
        for (const char* file : kInstalledFiles) EXPECT_FALSE(fileExists(folder_ + "\\" + file)) << file;
        EXPECT_EQ(shortcutPath(), "");
        EXPECT_FALSE(findInstalledProgram("Baywise").found);
        EXPECT_EQ(readFileBytes(catalogue), kSiteCatalogue);
        DeleteFileA(catalogue.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

private:
    std::string msi_;
    std::string folder_;
};

void expectProgramsCarryTheirRecords(const std::string& folder) {
    for (const ProgramRecord& program : kPrograms) {
        SCOPED_TRACE(program.file);
        const std::string path = folder + "\\" + program.file;
        const std::string manifest = readManifest(path);
        EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
        for (const char* os : kSupportedOs) EXPECT_NE(manifest.find(os), std::string::npos) << os;
        EXPECT_EQ(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true<")
                      != std::string::npos, program.dpiAware);
        VersionRecord record(path);
        ASSERT_NE(record.fixed(), nullptr);
        EXPECT_EQ(record.fixed()->dwFileVersionMS, program.fileVersionMs);
        EXPECT_EQ(record.text("040904b0", "FileVersion"), program.versionText);
        EXPECT_EQ(record.text("040904b0", "ProductName"), program.productName);
        EXPECT_EQ(record.text("040904b0", "OriginalFilename"), program.file);
    }
}

// Starts bwplan in `folder` and checks its title and whether it offers the site catalogue's
// type; ends it.
void expectMapperStarts(const std::string& exe, const std::string& folder, bool readsSiteCatalogue) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start(exe, folder)) << exe;
    EXPECT_EQ(mapper.title(), "Baywise, version 1.0.0");
    const auto entries = mapper.entries(1000);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Ridge"), readsSiteCatalogue ? 1 : 0);
    mapper.click(2);
    DWORD code = 1;
    EXPECT_TRUE(mapper.waitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace

TEST(ReleasePackage, InstallsPerMachineAndRemovesAllButTheSiteCatalogue) {
    InstalledKit kit(releaseMsi, CSIDL_PROGRAM_FILESX86);
    for (const char* file : kInstalledFiles) EXPECT_TRUE(fileExists(kit.folder() + "\\" + file)) << file;
    expectProgramsCarryTheirRecords(kit.folder());
    const ShortcutInfo shortcut = readShortcut(shortcutPath());
    EXPECT_EQ(shortcut.target, kit.folder() + "\\bwplan.exe");
    EXPECT_EQ(shortcut.workingFolder, kit.folder() + "\\");
    const ProgramEntry entry = findInstalledProgram("Baywise");
    EXPECT_TRUE(entry.found);
    EXPECT_EQ(entry.version, "1.0.0");
    EXPECT_EQ(entry.publisher, "Baywise");
    kit.removeKeepingSiteCatalogue();
}

TEST(RunnablePackage, InstalledProgramsStartFromTheShortcutAndTheCommandLine) {
    InstalledKit kit(runnableMsi, CSIDL_PROGRAM_FILES);
    expectProgramsCarryTheirRecords(kit.folder());
    ASSERT_TRUE(writeFileBytes(kit.folder() + "\\bwplan.ini", kSiteCatalogue));
    const ShortcutInfo shortcut = readShortcut(shortcutPath());
    expectMapperStarts(shortcut.target, shortcut.workingFolder, true);
    const std::string output = programFolder() + "\\bwmap-version.txt";
    EXPECT_EQ(runAndWait("\"" + kit.folder() + "\\bwmap.exe\" --version", kit.folder(), output), 0);
    EXPECT_EQ(readFileBytes(output), "bwmap, version 1.0.0\r\n");
    DeleteFileA(output.c_str());
    kit.removeKeepingSiteCatalogue();
}

TEST(UnpackedZip, ProgramsRunFromTheirFolder) {
    expectMapperStarts(unpackedFolder + "\\bwplan.exe", unpackedFolder, false);
    ScratchDir empty("pkgrun-empty");
    EXPECT_EQ(runAndWait("\"" + unpackedFolder + "\\pkgrun.exe\"", empty.path()), 0);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: release_wine_tests <release.msi> <runnable.msi> <unpacked zip folder>\n");
        return 2;
    }
    releaseMsi = fullPath(argv[1]);
    runnableMsi = fullPath(argv[2]);
    unpackedFolder = fullPath(argv[3]);
    return RUN_ALL_TESTS();
}
