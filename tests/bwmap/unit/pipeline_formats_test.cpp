// The topology graph's names where the real clients' table of names cannot reach (control bytes,
// which no argument carries whole), and the JUnit report's date.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "bwmap_runner.h"
#include "writers/dot_writer.h"

namespace {

using runner::bwmap;
using runner::Result;

const std::string kFffd = "\xEF\xBF\xBD";

TEST(DotText, ControlBytesInNames) {
    const struct {
        std::string name;
        std::string dot;
    } cases[] = {
        {"tab\there\r\n", "\"tab here  \""},
        {std::string("nul\0\x01\x7F", 6), "\"nul" + kFffd + kFffd + kFffd + "\""},
    };
    for (const auto& c : cases) {
        std::string out;
        appendDotString(out, dotName(c.name));
        EXPECT_EQ(out, c.dot) << c.dot;
    }
}

// The report's date is the run's, as the html footer's: a SOURCE_DATE_EPOCH that is not a count
// of seconds is an error before anything is written.
TEST(JunitReport, ABadSourceDateEpochIsAnError) {
    ::setenv("SOURCE_DATE_EPOCH", "soon", 1);
    const Result bad = bwmap({"--verify", "h=cap.json", "--format", "junit", "1=Fell", "host1=h"});
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("bwmap: SOURCE_DATE_EPOCH \"soon\" is not a count of seconds", 0), 0u) << bad.err;
}

}  // namespace
