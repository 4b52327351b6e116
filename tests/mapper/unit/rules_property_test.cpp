// Placement rules over seeded random user sessions: what the rules promise holds after every step.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "mapper_test_support.h"
#include "rules.h"

namespace {

using fixture::Enclosure;

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

// A small deterministic generator (the same sequence on every platform).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    int below(int n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(n));
    }

private:
    std::uint64_t state_;
};

bool usable(const FormModel& form, int id) { return form.control(id).visible && form.control(id).enabled; }

const BladeType* typeIn(const Enclosure& e, int bayId) {
    const std::string text = e.form.selectedText(bayId);
    if (text.empty()) return nullptr;
    return &e.catalogue.row(findByName(e.catalogue, text.c_str(), 1));
}

// What the rules promise after a command; returns the first broken promise, or "".
std::string brokenPromise(const Enclosure& e) {
    const bool quietPass = e.message().text.empty();
    if (!e.form.misuses().empty()) return "operation on control " + std::to_string(e.form.misuses()[0].id);
    const bool standard = e.form.enclosureType == ENCLOSURE_STANDARD;
    std::vector<const BladeType*> columnType(ids::kColumns, nullptr);
    for (int c = 0; c < ids::kColumns; ++c) {
        const std::string where = " in column " + std::to_string(c);
        const BladeType* upper = typeIn(e, ids::upperBay(c));
        const BladeType* lower = typeIn(e, ids::lowerBay(c));
        columnType[c] = lower ? lower : upper;
        if (upper && lower && !(upper->flags & HALF_HEIGHT)) return "full-height type above a blade" + where;
        // A pass that a refusal ended leaves bays re-enabled by the bay change as they were, so
        // the lower bay under a full-height blade is disabled only after a quiet pass.
        if (upper && !(upper->flags & HALF_HEIGHT) && quietPass && e.form.control(ids::lowerBay(c)).enabled)
            return "usable lower bay under a full-height type" + where;
        if (upper && lower && upper != lower &&
            (!(upper->flags & HALF_HEIGHT) || !(lower->flags & HALF_HEIGHT) ||
             (upper->flags & SHARE_CLASS) != (lower->flags & SHARE_CLASS)))
            return "forbidden pair" + where;
        for (const BladeType* type : {upper, lower})
            if (standard && type && (type->flags & ENHANCED_ONLY)) return "enhanced-only type in Standard" + where;
        for (int row = 0; row < ids::kLabelRows; ++row) {
            if (!e.form.control(ids::label(row, c)).visible) continue;
            const bool placed = row < ids::kFirstLowerLabelRow ? upper != nullptr : (upper || lower);
            if (!placed) return "label row " + std::to_string(row) + " shown without a blade" + where;
        }
    }
    for (int c = 0; c < ids::kColumns; ++c) {
        if (!columnType[c] || !(columnType[c]->flags & GROUP4_CLASS)) continue;
        for (int d = ids::groupStart(c); d < ids::groupStart(c) + ids::kGroupSize; ++d) {
            const BladeType* upper = typeIn(e, ids::upperBay(d));
            if (upper && !(upper->flags & GROUP4_CLASS))
                return "mixed group of four: columns " + std::to_string(c) + " and " + std::to_string(d);
        }
    }
    return "";
}

// One user action, chosen at random among those a user could take now.
std::string act(Enclosure& e, Random& random) {
    const int roll = random.below(100);
    if (roll < 72) {
        std::vector<int> bays;
        for (int id = ids::upperBay(0); id < ids::lowerBay(ids::kColumns); ++id)
            if (usable(e.form, id)) bays.push_back(id);
        if (bays.empty()) return "none";
        const int bay = bays[random.below(static_cast<int>(bays.size()))];
        const auto& entries = e.form.control(bay).entries;
        const std::string& text = entries[random.below(static_cast<int>(entries.size()))];
        e.choose(bay, text);
        return "bay " + std::to_string(bay) + " " + text;
    }
    if (roll < 80) {
        const char* type = random.below(2) ? "Enhanced" : "Standard";
        e.chooseEnclosure(type);
        return type;
    }
    if (roll < 88) {
        std::vector<int> columns;
        for (int c = 0; c < ids::kColumns; ++c)
            if (usable(e.form, ids::columnOs(c))) columns.push_back(c);
        if (columns.empty()) return "none";
        const int c = columns[random.below(static_cast<int>(columns.size()))];
        const char* os = random.below(2) ? "Linux" : "Windows";
        e.chooseColumnOs(c, os);
        return "column OS " + std::to_string(c) + " " + os;
    }
    if (roll < 92) {
        const char* os = random.below(2) ? "Linux" : "Windows";
        e.chooseDefaultOs(os);
        return std::string("default OS ") + os;
    }
    if (roll < 98) {
        e.press(IDC_FILL_WITH_SAME);
        return "Fill With Same";
    }
    e.form = FormModel();
    populateForm(e.form, e.catalogue);
    return "Reset";
}

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
        Enclosure e(session.fileRows ? fixture::catalogueWithFile(session.fileRows) : fixture::builtInCatalogue());
        Random random(session.seed);
        std::map<std::string, int> seen;  // rule sentences and enclosure types met
        std::vector<std::string> history;
        for (int step = 0; step < 2500; ++step) {
            history.push_back(act(e, random));
            const std::string broken = brokenPromise(e);
            if (!broken.empty()) {
                std::string recent;
                for (std::size_t i = history.size() > 8 ? history.size() - 8 : 0; i < history.size(); ++i)
                    recent += "\n  " + history[i];
                FAIL() << "step " << step << ": " << broken << "; last actions:" << recent;
            }
            // A settled form is a fixed point: another pass changes nothing.
            if (e.message().text.empty()) {
                FormModel again = e.form;
                recomputeWithRules(again, e.catalogue);
                const std::vector<int> changed = fixture::differences(e.form, again);
                ASSERT_TRUE(changed.empty()) << "step " << step << ": a second pass changes control "
                                             << changed.front() << " after " << history.back();
            }
            const std::string& message = e.message().text;
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
