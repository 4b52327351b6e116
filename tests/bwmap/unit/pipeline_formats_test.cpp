// The topology graph's and the JUnit report's bytes for awkward names, and the report's date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "bwmap_runner.h"
#include "writers/dot_writer.h"

namespace {

using runner::bwmap;
using runner::Result;

const std::string kFffd = "\xEF\xBF\xBD";

TEST(DotText, NamesAsTheGraphQuotesThem) {
    const struct {
        std::string name;
        std::string dot;
    } cases[] = {
        {"web02", "\"web02\""},
        {"we\"b", "\"we\\\"b\""},
        {"a\\b\\", "\"a\\\\b\\\\\""},
        {"q\\\"", "\"q\\\\\\\"\""},
        {"<&'>", "\"<&'>\""},
        {"tab\there\r\n", "\"tab here  \""},
        {std::string("nul\0\x01\x7F", 6), "\"nul" + kFffd + kFffd + kFffd + "\""},
        {"h\xFCtte \x80", "\"h\xC3\xBCtte \xE2\x82\xAC\""},
        {"m\xC3\xBCnchen", "\"m\xC3\xBCnchen\""},
    };
    for (const auto& c : cases) {
        std::string out;
        appendDotString(out, dotName(c.name));
        EXPECT_EQ(out, c.dot) << c.dot;
    }
}

// Host names as the report's attributes hold them, and the testsuite's date.
TEST(JunitReport, EscapedNamesAndTheRunsDate) {
    const runner::Scratch scratch;
    const std::string capture = scratch.write(
        "cap.json", R"({"lldp": {"interface": {"eno1": {"chassis": {"sw\u0001<": {}}, "port": {"id": {"type": "ifname", "value": "7"}}}}}})");
    const struct {
        std::string host;
        std::string classname;
    } cases[] = {
        {"a\"b'c", "e7.a&quot;b&#39;c"},
        {"x<y>&z\\", "e7.x&lt;y&gt;&amp;z\\"},
        {"h\xFCtte", "e7.h\xC3\xBCtte"},
    };
    ::setenv("SOURCE_DATE_EPOCH", "86399", 1);
    for (const auto& c : cases) {
        const Result r = bwmap({"--verify", c.host + "=" + capture, "--format", "junit", "--name", "e7", "1=Fell",
                                "host1=" + c.host, "switchA=sw"});
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.out.find("<testsuite name=\"e7\" tests=\"3\" failures=\"3\" errors=\"0\" skipped=\"0\" "
                             "timestamp=\"1970-01-01T23:59:59\">"),
                  std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("<testcase classname=\"" + c.classname + "\" name=\"NIC A -&gt; sw 1\">"), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("name=\"eno1 -&gt; sw" + kFffd + "&lt; 7\""), std::string::npos) << r.out;
    }
    ::setenv("SOURCE_DATE_EPOCH", "soon", 1);
    const Result bad = bwmap({"--verify", "h=" + capture, "--format", "junit", "1=Fell", "host1=h"});
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("bwmap: SOURCE_DATE_EPOCH \"soon\" is not a count of seconds", 0), 0u) << bad.err;
}

}  // namespace
