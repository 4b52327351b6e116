// Host and switch names: picks and plans columns in, Host and Switch columns out.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "bwmap_runner.h"

namespace {

using runner::bwmap;
using runner::Result;

const std::vector<std::string> kFell = {"1=Fell", "9=Fell", "host1=web01", "host9=web09", "SWITCHa=encl7-swa"};

TEST(Names, HostAndSwitchColumnsInTsv) {
    std::vector<std::string> args = kFell;
    args.insert(args.begin(), {"--format", "tsv"});
    const Result r = bwmap(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Bay\tType\tHost\tOS\tSwitch\tSwitch port\tNIC\n"
              "1\tFell\tweb01\t\tencl7-swa\tA-1\tNIC A\n1\tFell\tweb01\t\t\tB-1\tNIC B\n"
              "9\tFell\tweb09\t\tencl7-swa\tA-2\tNIC A\n9\tFell\tweb09\t\t\tB-2\tNIC B\n");
}

TEST(Names, HostPerBayAndSwitchPerPortInJson) {
    std::vector<std::string> args = {"--format", "json", "1=Fell", "9=Fell", "host9=web09", "switchB=r7-swB"};
    const Result r = bwmap(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json object = nlohmann::json::parse(r.out);
    ASSERT_EQ(object["bays"].size(), 2u);
    EXPECT_EQ(object["bays"][0]["host"], nullptr);
    EXPECT_EQ(object["bays"][1]["host"], "web09");
    EXPECT_EQ(object["bays"][1]["ports"][0]["switch"], nullptr);
    EXPECT_EQ(object["bays"][1]["ports"][1]["switch"], "r7-swB");
    EXPECT_EQ(object["bays"][1]["ports"][1]["switchPort"], "B-2");
}

TEST(Names, BadNamesAreErrors) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"2=Fell", "host3=x"}, "bwmap: host3: bay 3 holds no blade\n"},
        {{"1=Crag", "host2=x"}, "bwmap: host2: bay 2 holds no blade\n"},
        {{"1=Tarn", "host17=x"}, "bwmap: host17: the bay must be a number from 1 to 16\n"},
        {{"1=Tarn", "switchZ=x"}, "bwmap: switchZ: no blade type uses switch Z\n"},
        {{"1=Tarn", "host1=a\tb"}, "bwmap: host1: the name \"a?b\" holds a control character\n"},
        {{"1=Tarn", "switchA="}, "bwmap: switchA: the name is empty\n"},
    };
    for (const auto& c : cases) {
        const Result r = bwmap(c.args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_EQ(r.err, c.message) << c.args.back();
        EXPECT_EQ(r.out, "") << c.args.back();
    }
}

// Header case is ignored; an empty cell names nothing; a host for an empty bay fails its row.
TEST(Names, PlansColumns) {
    runner::Scratch scratch;
    const std::string plans = scratch.write("plans.csv",
                                            "name,1,HOST1,SwitchB\n"
                                            "r1,Tarn,web1,sw-b\n"
                                            "r2,Tarn,,\n"
                                            "r3,,h,\n");
    Result r = bwmap({"--plans", plans, "--format", "csv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out,
              "Enclosure,Bay,Type,Host,OS,Switch,Switch port,NIC\n"
              "r1,1,Tarn,web1,,,A-1,NIC A\nr1,1,Tarn,web1,,,A-2,NIC B\nr1,1,Tarn,web1,,sw-b,B-2,NIC C\n"
              "r2,1,Tarn,,,,A-1,NIC A\nr2,1,Tarn,,,,A-2,NIC B\nr2,1,Tarn,,,,B-2,NIC C\n");
    EXPECT_EQ(r.err, "bwmap: " + plans + ":4: r3: host1: bay 1 holds no blade\n");

    const std::string unused = scratch.write("unused.csv", "name,1,switchQ\nr1,Tarn,q\n");
    r = bwmap({"--plans", unused});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "bwmap: " + unused + ":1: column \"switchQ\": no blade type uses switch Q\n");
}

}  // namespace
