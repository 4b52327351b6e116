// Text on the html sheet: markup as references, control bytes replaced, plain runs as they are.
#include <gtest/gtest.h>

#include <string>

#include "writers/html_sheet.h"

namespace {

TEST(HtmlText, MarkupControlsAndPlainRuns) {
    const struct {
        std::string text;
        const char* html;
    } cases[] = {
        {"Tarn-M2 bay 3", "Tarn-M2 bay 3"},
        {"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&#39;f"},
        {"tab\there\r\n", "tab here  "},
        {std::string("nul\0\x7f", 5), "nul\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xC2\x85x\xC2\xA9y\xC2", "\xEF\xBF\xBDx\xC2\xA9y\xC2"},
        {"&&", "&amp;&amp;"},
        {"\xEF\xBF\xBE\xEF\xBF\xBF\xEF\xBF\xBDok\xEF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDok\xEF"},
    };
    for (const auto& c : cases) {
        std::string out = "<";
        appendHtmlText(out, c.text);
        EXPECT_EQ(out, std::string("<") + c.html) << c.html;
    }
}

// A converter runs only for text that is not plain ASCII.
TEST(HtmlText, ConvertedOnlyWhenNotAscii) {
    const ToUtf8 marked = [](const std::string& text) { return "[" + text + "]"; };
    std::string out;
    appendHtmlText(out, "a<b", marked);
    appendHtmlText(out, "\xC3\xA9&", marked);
    EXPECT_EQ(out, "a&lt;b[\xC3\xA9&amp;]");
}

}  // namespace
