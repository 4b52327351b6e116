// mkfwimage: writes a sample firmware image for the stand-in library.
//
//   mkfwimage KIND FILE [--version V] [--manufacturer TEXT] [--platform TEXT] [--info TEXT]
//                       [--product ID] [--payload BYTES]
//   mkfwimage --help
//
// KIND is 1, 2, KTRX, TOBR or SQUM. For kinds 1 and 2 the version is four numbers "a.b.c.d"
// (-128 to 255 each, stored as one byte); for the others it is text. Each kind has defaults.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image_format.h"

namespace {

const char USAGE[] =
    "usage: mkfwimage 1|2|KTRX|TOBR|SQUM FILE [--version V] [--manufacturer TEXT]\n"
    "                 [--platform TEXT] [--info TEXT] [--product ID] [--payload BYTES]\n";

const char HELP[] =
    "\n"
    "Writes FILE, a sample switch firmware image that the stand-in quillscan.dll reads.\n"
    "\n"
    "Kinds, each with defaults for every field:\n"
    "  1, 2        version a.b.c.d (4.1.0.5, 2.0.3.1), image type (\"Runtime Image\", \"Boot Image\")\n"
    "  KTRX        version text (\"7.2 build 118\"), image type (\"Combined Image\")\n"
    "  TOBR, SQUM  version text of at most 7 characters (\"3.10\", \"1.0b\"),\n"
    "              build date (TOBR \"2011-04-18\", SQUM none: quillscan shows \"Unknown\")\n"
    "\n"
    "Options:\n"
    "  --version V          kinds 1 and 2: four numbers a.b.c.d, each -128 to 255;\n"
    "                       KTRX: text of at most 63 characters; TOBR, SQUM: at most 7\n"
    "  --manufacturer TEXT  at most 63 characters (default \"Sample Switchworks\")\n"
    "  --platform TEXT      at most 31 characters (default \"Bay Switch 1G\")\n"
    "  --info TEXT          the image type (1, 2, KTRX) or the build date (TOBR, SQUM),\n"
    "                       at most 127 characters\n"
    "  --product ID         product ID (default 0x0A01); the library knows 0x0A01, 0x0A02,\n"
    "                       0x0B10 and 0x0C20 and refuses any other as an unknown product (5)\n"
    "  --payload BYTES      bytes after the 512-byte header, 0 to 16777216 (default 1024)\n"
    "\n"
    "Damaged images, for quillscan's errors: change one of the first 8 bytes of an image and\n"
    "its signature is refused (4); change, add or remove any later byte and its checksum is (3).\n";

bool fail(const std::string& text)
{
    std::fputs(("mkfwimage: " + text + "\n").c_str(), stderr);
    return false;
}

bool parseNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 0);
    return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

bool parseNumericVersion(const std::string& text, image::ImageContent& content)
{
    std::string rest = text;
    for (int i = 3; i >= 0; --i) {
        std::size_t dot = rest.find('.');
        if ((i > 0) != (dot != std::string::npos)) return false;
        long number = 0;
        if (!parseNumber(rest.substr(0, dot).c_str(), -128, 255, number)) return false;
        content.numericVersion[i] = static_cast<signed char>(static_cast<unsigned char>(number));
        rest = i > 0 ? rest.substr(dot + 1) : "";
    }
    return true;
}

// The defaults for a kind name; false for a name that is no kind.
bool startContent(const std::string& kind, image::ImageContent& content)
{
    content.manufacturer = "Sample Switchworks";
    content.platform = "Bay Switch 1G";
    content.payloadSize = 1024;
    if (kind == "1" || kind == "2") {
        content.kind = kind == "1" ? KIND_ONE : KIND_TWO;
        parseNumericVersion(kind == "1" ? "4.1.0.5" : "2.0.3.1", content);
        content.info = kind == "1" ? "Runtime Image" : "Boot Image";
    } else if (kind == "KTRX") {
        content.kind = KIND_KTRX;
        content.versionText = "7.2 build 118";
        content.info = "Combined Image";
    } else if (kind == "TOBR" || kind == "SQUM") {
        content.kind = kind == "TOBR" ? KIND_TOBR : KIND_SQUM;
        content.versionText = kind == "TOBR" ? "3.10" : "1.0b";
        content.info = kind == "TOBR" ? "2011-04-18" : "";
    } else {
        return false;
    }
    return true;
}

bool setText(std::string& field, const char* value, std::size_t width, const char* name)
{
    if (std::strlen(value) >= width)
        return fail(std::string(name) + " takes at most " + std::to_string(width - 1) + " characters");
    field = value;
    return true;
}

bool applyOption(const std::string& option, const char* value, image::ImageContent& content)
{
    bool numeric = content.kind == KIND_ONE || content.kind == KIND_TWO;
    long number = 0;
    if (option == "--version" && numeric) {
        return parseNumericVersion(value, content) || fail("version must be a.b.c.d");
    } else if (option == "--version") {
        std::size_t width = content.kind == KIND_KTRX ? image::VERSION_TEXT_WIDTH
                                                   : image::SHORT_VERSION_LENGTH + 1;
        return setText(content.versionText, value, width, "--version");
    } else if (option == "--manufacturer") {
        return setText(content.manufacturer, value, image::MANUFACTURER_WIDTH, "--manufacturer");
    } else if (option == "--platform") {
        return setText(content.platform, value, image::PLATFORM_WIDTH, "--platform");
    } else if (option == "--info") {
        return setText(content.info, value, image::INFO_WIDTH, "--info");
    } else if (option == "--product") {
        if (!parseNumber(value, 0, 0x7FFFFFFF, number)) return fail("bad product ID");
        content.product = static_cast<std::uint32_t>(number);
    } else if (option == "--payload") {
        if (!parseNumber(value, 0, 1 << 24, number)) return fail("bad payload size");
        content.payloadSize = static_cast<std::size_t>(number);
    } else {
        return fail("unknown option " + option);
    }
    return true;
}

bool writeFile(const char* path, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return fail(std::string("cannot create ") + path);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    return ok || fail(std::string("cannot write ") + path);
}

} // namespace

int main(int argc, char** argv)
{
    image::ImageContent content;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(USAGE, stdout);
        std::fputs(HELP, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (argc < 3 || argc % 2 == 0 || !startContent(argv[1], content)) {
        std::fputs(USAGE, stderr);
        return 1;
    }
    for (int i = 3; i < argc; i += 2)
        if (!applyOption(argv[i], argv[i + 1], content)) return 1;
    return writeFile(argv[2], image::encodeImage(content)) ? 0 : 1;
}
