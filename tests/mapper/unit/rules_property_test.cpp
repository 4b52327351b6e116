// Placement rules over seeded random user sessions: what the rules promise holds after every step.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mapper_test_support.h"
#include "rules.h"
#include "user_sessions.h"
#include "seeded_random.h"

namespace {

using sessions::UserForm;

// Rows that exercise every rule: groups of four, shared columns, spans past the edge and across
// groups, enhanced-only and OS-dependent half-height types.
const char kPropertyRows[] =
    "\"Ridge\" 0x4000000 AABB 1212\n"
    "\"Ridge-8\" 0x4000080 AABB 1212\n"
    "\"GroupHalf\" 0x4800000 AB 11\n"
    "\"ShareHalf\" 0x1800000 AB 11\n"
    "\"PlainHalf\" 0x800000 AABB 1212\n"
    "\"OrderHalf\" 0x800500 AABB 1212\n"
    "\"EnhHalf\" 0xC04000 AB 11\n"
    "\"Wide3\" 0x30000 AABBAB 121233\n";

struct Session {
    const char* name;
    const char* fileRows;  // nullptr: built-in rows only
    std::uint64_t seed;
};

TEST(RulesProperty, RandomSessionsKeepThePromises) {
    const Session sessions[] = {
        {"built-in rows", nullptr, 1},
        {"catalogue file", kPropertyRows, 2},
        {"catalogue file, second seed", kPropertyRows, 3},
    };
    for (const Session& session : sessions) {
        SCOPED_TRACE(session.name);
        const BladeCatalogue catalogue =
            session.fileRows ? fixture::catalogueWithFile(session.fileRows) : fixture::builtInCatalogue();
        UserForm e(catalogue);
        Random random(session.seed);
        std::map<std::string, int> seen;  // rule sentences and enclosure types met
        std::vector<std::string> history;
        for (int step = 0; step < 2500; ++step) {
            history.push_back(sessions::act(e, random));
            const std::string broken = sessions::brokenPromise(e);
            if (!broken.empty()) {
                std::string recent;
                for (std::size_t i = history.size() > 8 ? history.size() - 8 : 0; i < history.size(); ++i)
                    recent += "\n  " + history[i];
                FAIL() << "step " << step << ": " << broken << "; last actions:" << recent;
            }
            // A settled form is a fixed point: another pass changes nothing.
            const std::string& message = e.form.control(IDC_MESSAGE).text;
            if (message.empty()) {
                FormModel again = e.form;
                recomputeWithRules(again, e.catalogue);
                const std::vector<int> changed = fixture::differences(e.form, again);
                ASSERT_TRUE(changed.empty()) << "step " << step << ": a second pass changes control "
                                             << changed.front() << " after " << history.back();
            }
            if (message.find("enclosure.") != std::string::npos) ++seen["enhanced-only"];
            if (message.find("share a slot") != std::string::npos) ++seen["shared column"];
            if (message.find("4 slot group") != std::string::npos) ++seen["group of four"];
            ++seen[e.form.enclosureType == ENCLOSURE_STANDARD ? "Standard" : "Enhanced"];
        }
        // The sessions reach every rule they can and both enclosure types.
        EXPECT_GT(seen["Standard"], 100);
        EXPECT_GT(seen["Enhanced"], 100);
        EXPECT_GT(seen["enhanced-only"], 0);
        if (session.fileRows) {
            EXPECT_GT(seen["shared column"], 0);
            EXPECT_GT(seen["group of four"], 0);
        }
    }
}

}  // namespace
