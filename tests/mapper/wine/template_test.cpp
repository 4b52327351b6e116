// The built bwplan.exe read as a file: PE header, dialog template 101 and the version record.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "expected_form.h"
#include "mapper_driver.h"
#include "version_win32.h"

namespace {

// Sequential reader of a DLGTEMPLATEEX.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, std::size_t size) : p_(data), end_(data + size) {}
    WORD word() { WORD v; take(&v, 2); return v; }
    DWORD dword() { DWORD v; take(&v, 4); return v; }
    short coord() { short v; take(&v, 2); return v; }
    void align(std::size_t n, const BYTE* base) {
        while ((p_ - base) % n != 0) ++p_;
    }
    // A text, or an ordinal written as 0xFFFF and a number ("#<n>").
    std::string sizeOrOrdinal() {
        WORD first = word();
        if (first == 0xFFFF) return "#" + std::to_string(word());
        std::string out;
        for (WORD c = first; c != 0; c = word()) out += static_cast<char>(c);
        return out;
    }
    void skip(std::size_t n) { p_ += n; }
    bool overrun() const { return p_ > end_; }

private:
    void take(void* out, std::size_t n) {
        if (p_ + n <= end_) std::memcpy(out, p_, n); else std::memset(out, 0, n);
        p_ += n;
    }
    const BYTE* p_;
    const BYTE* end_;
};

std::string classOf(const std::string& name) {
    if (name == "#128") return "Button";
    if (name == "#130") return "Static";
    if (name == "#133") return "ComboBox";
    return name;
}

class BwplanFile : public testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(bwplanPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << bwplanPath();
    }
    void TearDown() override { FreeLibrary(module_); }
    HMODULE module_ = nullptr;
};

// Where the tests run against the 64-bit twin (no 32-bit Wine on the machine), the file is checked
// as what it is; the 32-bit programs' headers are checked natively (deliverables.Win32Images).
#ifdef _WIN64
using NtHeaders = IMAGE_NT_HEADERS64;
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kOptionalMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#else
using NtHeaders = IMAGE_NT_HEADERS32;
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kOptionalMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#endif

TEST(BwplanImage, IsA32BitGuiProgram) {
    std::ifstream file(bwplanPath(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes.data(), sizeof dos);
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    NtHeaders nt;
    ASSERT_LE(static_cast<std::size_t>(dos.e_lfanew) + sizeof nt, bytes.size());
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
    EXPECT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.FileHeader.Machine, kMachine);
    EXPECT_EQ(nt.OptionalHeader.Magic, kOptionalMagic);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(BwplanFile, DialogTemplateMatchesTheControlTable) {
    HRSRC found = FindResourceExA(module_, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(101),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(found, nullptr) << "no US English dialog template 101";
    auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
    TemplateReader in(data, SizeofResource(module_, found));

    EXPECT_EQ(in.word(), 1);       // dlgVer
    EXPECT_EQ(in.word(), 0xFFFF);  // extended template
    in.dword();                    // help id
    EXPECT_EQ(in.dword(), 0u) << "dialog extended style";
    DWORD style = in.dword();
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT));
    WORD items = in.word();
    EXPECT_EQ(in.coord(), 0);
    EXPECT_EQ(in.coord(), 0);
    EXPECT_EQ(in.coord(), 604);
    EXPECT_EQ(in.coord(), 291);
    EXPECT_EQ(in.sizeOrOrdinal(), "") << "menu";
    EXPECT_EQ(in.sizeOrOrdinal(), "") << "window class";
    EXPECT_EQ(in.sizeOrOrdinal(), "Baywise") << "caption";
    EXPECT_EQ(in.word(), 8) << "font size";
    in.word();   // weight
    in.skip(2);  // italic, charset
    EXPECT_EQ(in.sizeOrOrdinal(), "Arial");

    std::vector<ExpectedControl> expected = expectedControls();
    ASSERT_EQ(items, expected.size());
    for (const ExpectedControl& want : expected) {
        SCOPED_TRACE("control " + std::to_string(want.id) + " \"" + want.text + "\"");
        in.align(4, data);
        in.dword();  // help id
        EXPECT_EQ(in.dword(), want.exStyle) << "extended style";
        EXPECT_EQ(in.dword(), want.style) << "style";
        EXPECT_EQ(in.coord(), want.x);
        EXPECT_EQ(in.coord(), want.y);
        EXPECT_EQ(in.coord(), want.cx);
        EXPECT_EQ(in.coord(), want.cy);
        EXPECT_EQ(static_cast<int>(in.dword()), want.id);
        EXPECT_STRCASEEQ(classOf(in.sizeOrOrdinal()).c_str(), want.className.c_str());  // class names ignore case
        EXPECT_EQ(in.sizeOrOrdinal(), want.text);
        in.skip(in.word());  // creation data
        ASSERT_FALSE(in.overrun());
    }
}

TEST(BwplanVersion, RecordReadsBackThroughTheVersionApi) {
    const VersionRecord record(bwplanPath());
    ASSERT_GT(record.size(), 0u);
    EXPECT_LT(record.size(), 4096u) << "the title is only taken from a record under 4096 bytes";
    const VS_FIXEDFILEINFO* fixed = record.fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    const struct { const char* name; const char* value; } strings[] = {
        {"FileDescription", "Baywise"},   {"ProductName", "Baywise"},
        {"FileVersion", "1, 0, 0"},       {"ProductVersion", "1, 0, 0"},
        {"InternalName", "bwplan"},       {"OriginalFilename", "bwplan.exe"},
    };
    for (const auto& s : strings) EXPECT_EQ(record.text("040904b0", s.name), s.value) << s.name;

    EXPECT_EQ(record.translations(), std::vector<DWORD>{MAKELONG(0x0409, 1200)});
}

}  // namespace
