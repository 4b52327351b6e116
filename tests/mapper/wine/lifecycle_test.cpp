// bwplan.exe under Wine from outside: the form at creation, the title, Reset and the endings.
#include <gtest/gtest.h>

#include <cstdint>

#include "files_win32.h"
#include "form_state.h"
#include "mapper_driver.h"

namespace {

constexpr DWORD kExitWaitMs = 10000;

TEST(Creation, FreshFormWithTheBuiltInCatalogue) {
    ScratchDir dir("fresh");  // no catalogue file here
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    expectFreshForm(mapper, builtInBayEntries());
}

// Catalogue file rows, CR LF line ends as a Windows editor writes them.
TEST(Creation, CatalogueFileRowsJoinTheListsTheirFlagsAllow) {
    ScratchDir dir("catalogue");
    dir.writeFile("bwplan.ini",
                  "\"Ridge\" 0x4000000 AABB 1212\r\n"  // mask 0, full height: eight upper bays
                  "\"Half\" 0x800000 AB 11\r\n"        // mask 0, half height: all sixteen
                  "\"Eight\" 0x80 AB 12\r\n"           // bay 8 only
                  "\"Ends\" 0x81 AB 12\r\n"            // bays 1 and 8
                  "\"Tarn\" 0x0 AB 12\r\n"             // a second Tarn is listed too
                  "\r\n"                               // empty name: the catalogue ends here
                  "\"Hidden\" 0x0 AB 12\r\n");
    BayEntries bays = builtInBayEntries();
    for (int c = 0; c < 8; ++c) {
        auto& upper = bays.upper[static_cast<std::size_t>(c)];
        upper.push_back("Ridge");
        upper.push_back("Half");
        if (c == 7) upper.push_back("Eight");
        if (c == 0 || c == 7) upper.push_back("Ends");
        upper.push_back("Tarn");
        bays.lower[static_cast<std::size_t>(c)].push_back("Half");
    }
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    expectFreshForm(mapper, bays);
}

TEST(Creation, RenamedProgramWithoutBwplanExeKeepsTheTemplateCaption) {
    ScratchDir dir("renamed");
    dir.copyIn(bwplanPath(), "mapper-copy.exe");
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start(dir.path() + "\\mapper-copy.exe", dir.path()));
    EXPECT_EQ(mapper.title(), "Baywise");
    EXPECT_EQ(mapper.selected(1083), "Enhanced") << "the form is filled all the same";
}

TEST(Reset, EachResetShowsAFreshFormAndDoesNotReadTheCatalogueAgain) {
    ScratchDir dir("reset");
    dir.writeFile("bwplan.ini", "\"Ridge\" 0x4000000 AABB 1212\n");
    BayEntries bays = builtInBayEntries();
    for (auto& upper : bays.upper) upper.push_back("Ridge");

    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", dir.path()));
    dir.appendFile("bwplan.ini", "\"Late\" 0x800000 AB 11\n");  // must not appear
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("reset " + std::to_string(round + 1));
        ASSERT_TRUE(mapper.chooseText(1000, "Tarn"));
        ASSERT_TRUE(mapper.chooseText(1083, "Standard"));
        ASSERT_TRUE(mapper.chooseText(1118, "Windows"));
        ASSERT_TRUE(mapper.reset());
        expectFreshForm(mapper, bays);
    }
    mapper.click(2);
    DWORD code = 1;
    EXPECT_TRUE(mapper.waitForExit(kExitWaitMs, &code)) << "Cancel after Reset ends the program";
    EXPECT_EQ(code, 0u);
}

TEST(Reset, MinimisedStartShowsEveryNewFormMinimised) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start("", "", SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(IsIconic(mapper.form()));
    ASSERT_TRUE(mapper.reset());
    EXPECT_TRUE(IsIconic(mapper.form()));
}

TEST(Ending, CancelCloseBoxAndEscEndTheProgramWithStatusZero) {
    struct Way {
        const char* name;
        void (*act)(MapperProcess&);
    };
    const Way ways[] = {
        {"Cancel button", [](MapperProcess& m) { m.click(2); }},
        {"close box", [](MapperProcess& m) { PostMessageW(m.form(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Esc key", [](MapperProcess& m) { m.pressEscape(); }},
        {"Esc after a selector took the focus",
         [](MapperProcess& m) {
             SetForegroundWindow(m.form());
             SendMessageW(m.form(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m.item(1118)), TRUE);
             m.pressEscape();
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        MapperProcess mapper;
        ASSERT_TRUE(mapper.start());
        way.act(mapper);
        DWORD code = 1;
        ASSERT_TRUE(mapper.waitForExit(kExitWaitMs, &code)) << "still running";
        EXPECT_EQ(code, 0u);
    }
}

TEST(Ending, QuitMessageFromOutsideEndsWithItsCode) {
    MapperProcess mapper;
    ASSERT_TRUE(mapper.start());
    PostMessageW(mapper.form(), WM_QUIT, 1234, 0);
    DWORD code = 0;
    ASSERT_TRUE(mapper.waitForExit(kExitWaitMs, &code));
    EXPECT_EQ(code, 1234u);
}

// True when the program file is a 32-bit x86 image that does not ask for more than 2 GB of
// address space; `why` says otherwise.
bool limitedTo2GB(const std::string& path, std::string& why) {
    const std::string bytes = readFileBytes(path);
    auto at = [&](std::size_t offset, std::size_t size) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size && offset + i < bytes.size(); ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
        return value;
    };
    const std::size_t pe = at(0x3C, 4);
    if (bytes.size() < pe + 24 || at(pe, 4) != 0x4550) return why = "no PE header", false;
    if (at(pe + 4, 2) != IMAGE_FILE_MACHINE_I386) return why = "not a 32-bit x86 program", false;
    if (at(pe + 22, 2) & IMAGE_FILE_LARGE_ADDRESS_AWARE) return why = "marked large-address-aware", false;
    return true;
}

// A catalogue file whose rows cannot be allocated: 30,000,000 lines need 2.28 GB of rows, more
// than a 32-bit process has when it is not large-address-aware. The box says so; once it is
// closed the program ends with status 0 and no form was ever created.
TEST(OutOfMemory, AllocationFailureIsShownThenTheProgramEnds) {
#ifdef _WIN64
    GTEST_SKIP() << "the 64-bit twin can allocate 2.3 GB of rows: the failure needs the 32-bit program";
#endif
    std::string why;
    ASSERT_TRUE(limitedTo2GB(bwplanPath(), why))
        << bwplanPath() << ": " << why << ", so 2.28 GB of rows may be allocated and this test cannot work";
    ScratchDir dir("out_of_memory");  // removed with its 30 MB file when the test ends
    dir.writeFile("bwplan.ini", std::string(30000000, '\n'));
    MapperProcess mapper;
    ASSERT_TRUE(mapper.launch("", dir.path()));

    HWND box = nullptr;
    const DWORD started = GetTickCount();
    while ((box = mapper.findWindowTitled("Baywise")) == nullptr && GetTickCount() - started < 30000)
        if (mapper.waitForExit(50)) break;
    ASSERT_NE(box, nullptr) << "no box appeared";
    EXPECT_EQ(GetDlgItem(box, 1083), nullptr) << "the form was created";
    wchar_t text[128];
    const int n = GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 128);
    EXPECT_EQ(narrow(std::wstring(text, static_cast<std::size_t>(n > 0 ? n : 0))), "Unable to allocate memory");
    EXPECT_EQ(SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0), 0) << "the box has an icon";
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
    EXPECT_FALSE(mapper.waitForExit(300)) << "the program went on before the box was closed";

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    ASSERT_TRUE(mapper.waitForExit(kExitWaitMs, &code));
    EXPECT_EQ(code, 0u);
}

// The helper that turns the command line's paths into drive paths, past MAX_PATH.
TEST(TestSupport, FullPathOfALongPath) {
    const std::string tail = std::string(150, 'a') + "\\" + std::string(150, 'b');
    const std::string full = fullPath(("\\" + tail).c_str());
    ASSERT_EQ(full.size(), tail.size() + 3) << full;
    EXPECT_EQ(full.substr(1), ":\\" + tail) << "a drive, then the path";
}

}  // namespace
