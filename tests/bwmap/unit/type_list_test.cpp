// bwmap --list-types: the catalogue in effect as the selectors list it, as a table and as JSON.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "bwmap_runner.h"

namespace {

using runner::bwmap;
using runner::Result;
using runner::Scratch;

TEST(TypeList, CatalogueFileRowsAfterTheBuiltInOnes) {
    Scratch scratch;
    const std::string catalogue =
        scratch.write("types.ini", "\"Ridge\" 0x4000000 AABB 1212\n\"H\xC3\xA4lf\" 0x1820003 AB 1\n\"Wide\" 0xC400 ABAB 1a2\n");
    Result r = bwmap({"--list-types", "--catalogue", catalogue});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), "Type               Ports              Bays       Flags\n");
    EXPECT_NE(r.out.find("\nCrag               A1 A2 B1 B2 A4 B4  1, 5       span 4\n"
                         "Ridge              A1 A2 B1 B2        1-8        group of four\n"
                         "H\xC3\xA4lf               A1 B?              1-2, 9-10  half height, span 2, sharing class\n"
                         "Wide               A1 Ba A2 B?        1-8        Enhanced only, third port a NIC, NIC order by OS\n"),
              std::string::npos)
        << r.out;

    r = bwmap({"--list-types", "--format", "json", "--catalogue", catalogue});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<nlohmann::json> types;
    for (std::size_t at = 0; at < r.out.size(); at = r.out.find('\n', at) + 1)
        types.push_back(nlohmann::json::parse(r.out.substr(at, r.out.find('\n', at) - at)));
    ASSERT_EQ(types.size(), 9u);
    EXPECT_EQ(types[0]["type"], "Tarn");
    EXPECT_EQ(types[7].dump(), R"({"bays":[1,2,9,10],"flags":["half height","span 2","sharing class"],)"
                               R"("ports":[{"digit":"1","switch":"A"},{"digit":null,"switch":"B"}],"type":"H)" "\xC3\xA4" R"(lf"})");

    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"--list-types", "--format", "tsv"}, "bwmap: --list-types writes a table or --format json, not tsv\n"},
        {{"--list-types", "1=Tarn"}, "bwmap: PICK excludes --list-types (see bwmap --help)\n"},
    };
    for (const auto& [args, message] : refused) {
        r = bwmap(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_EQ(r.err, message);
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
