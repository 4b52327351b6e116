// JSON strings written by hand read exactly as the library's compact dump writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "writers/json_text.h"

namespace {

std::string libraryDump(const std::string& text) {
    return nlohmann::ordered_json(text).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

TEST(JsonText, StringsMatchTheLibrarysDump) {
    std::vector<std::string> texts = {"", "NIC A", "a\"b\\c/d", "\x01\x1f\x7f", "tab\there\r\n", "\xc3\xa9t\xc3\xa9",
                                      "\xff\xfe bad", "mixed \xc3\xa9\t\"", std::string("nul\0byte", 8)};
    for (int ch = 0; ch < 0x80; ++ch) texts.push_back(std::string(1, static_cast<char>(ch)));
    for (const std::string& text : texts) {
        std::string out = "[";
        appendJsonString(out, text);
        EXPECT_EQ(out, "[" + libraryDump(text)) << "text of " << text.size() << " bytes, first "
                                                 << (text.empty() ? -1 : static_cast<unsigned char>(text[0]));
    }
}

TEST(JsonText, NullForAnEmptyTextAndPlainNumbers) {
    std::string out;
    appendJsonStringOrNull(out, "");
    out += ',';
    appendJsonStringOrNull(out, "h1");
    out += ',';
    appendJsonNumber(out, 16);
    out += ',';
    appendJsonNumber(out, -3);
    EXPECT_EQ(out, "null,\"h1\",16,-3");
}

// A converter runs only for text that is not plain ASCII; what it returns is escaped as usual.
TEST(JsonText, ConvertedOnlyWhenNotAscii) {
    const ToUtf8 marked = [](const std::string& text) { return "<" + text + ">"; };
    const struct {
        const char* text;
        const char* json;
    } cases[] = {
        {"NIC \"A\"\t", "\"NIC \\\"A\\\"\\t\""},
        {"\xE9", "\"<\xEF\xBF\xBD>\""},
        {"\xC3\xA9\n", "\"<\xC3\xA9\\n>\""},
        {"", "null"},
    };
    for (const auto& c : cases) {
        std::string out;
        appendJsonStringOrNull(out, c.text, marked);
        EXPECT_EQ(out, c.json) << c.text;
    }
}

}  // namespace
