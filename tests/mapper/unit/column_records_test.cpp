// The pass that skips settled columns: after every user action the form equals the same form
// driven with a pass that works every column.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "mapper_test_support.h"
#include "rules.h"
#include "seeded_random.h"
#include "user_sessions.h"

namespace {

using sessions::UserForm;

// Catalogue rows whose flags are drawn from every flag bit, with ports of one to six switches.
std::string randomRows(Random& random, int count) {
    const std::uint32_t bits[] = {ORDER_VARIANT_A, ORDER_VARIANT_B, ORDER_VARIANT_C, ENHANCED_ONLY, PORT3_IS_NIC,
                                  0x400000,        0x800000,        SHARE_CLASS,     GROUP4_CLASS};
    const std::uint32_t spans[] = {0, 0, 0, 0x10000, 0x20000, 0x30000, 0x50000};
    std::string rows;
    for (int i = 0; i < count; ++i) {
        std::uint32_t flags = random.below(3) == 0 ? static_cast<std::uint32_t>(random.below(256)) : 0u;
        for (const std::uint32_t bit : bits)
            if (random.below(4) == 0) flags |= bit;
        flags |= random.pick(spans);
        std::string ports;
        std::string digits;
        for (int k = random.below(6) + 1; k > 0; --k) {
            ports += random.below(2) ? 'A' : 'B';
            digits += "0123456789aBx"[random.below(13)];
        }
        char line[96];
        std::snprintf(line, sizeof line, "\"R%d\" 0x%x %s %s\n", i, static_cast<unsigned>(flags), ports.c_str(),
                      digits.c_str());
        rows += line;
    }
    return rows;
}

const char kRuleRows[] =
    "\"Ridge\" 0x4000000 AABB 1212\n"
    "\"GroupHalf\" 0x4800000 AB 11\n"
    "\"ShareHalf\" 0x1800000 AB 11\n"
    "\"OrderHalf\" 0x800500 AABB 1212\n"
    "\"EnhHalf\" 0xC04000 AB 11\n"
    "\"Wide3\" 0x30000 AABBAB 121233\n";

TEST(ColumnRecords, EveryActionLeavesTheFormAsAFullPassDoes) {
    Random rowsRandom(7);
    const std::string randomCatalogues[] = {randomRows(rowsRandom, 8), randomRows(rowsRandom, 12),
                                            randomRows(rowsRandom, 16)};
    struct Session { const char* name; std::string rows; std::uint64_t seed; };
    const Session sessions[] = {
        {"built-in rows", "", 11},          {"rule rows", kRuleRows, 12},          {"rule rows again", kRuleRows, 13},
        {"random rows", randomCatalogues[0], 14}, {"random rows, second", randomCatalogues[1], 15},
        {"random rows, third", randomCatalogues[2], 16},
    };
    std::map<std::string, int> seen;
    for (const Session& session : sessions) {
        SCOPED_TRACE(session.name);
        const BladeCatalogue catalogue =
            session.rows.empty() ? fixture::builtInCatalogue() : fixture::catalogueWithFile(session.rows);
        UserForm full(catalogue);
        UserForm kept(catalogue);
        kept.form.keepColumnRecords(true);
        Random fullChoices(session.seed);
        Random keptChoices(session.seed);
        std::size_t fullOperations = 0;
        std::size_t keptOperations = 0;
        for (int step = 0; step < 2000; ++step) {
            const std::size_t before[2] = {full.form.operationCount(), kept.form.operationCount()};
            const std::string action = sessions::act(full, fullChoices);
            ASSERT_EQ(sessions::act(kept, keptChoices), action) << "step " << step;
            if (action == "Reset") {
                kept.form.keepColumnRecords(true);
            } else {
                fullOperations += full.form.operationCount() - before[0];
                keptOperations += kept.form.operationCount() - before[1];
            }
            ASSERT_EQ(sessions::firstDifference(full.form, kept.form), -1) << "step " << step << " (" << action << ")";
            ++seen[action.substr(0, action.find(' '))];
            ++seen[full.form.enclosureType == ENCLOSURE_STANDARD ? "Standard" : "Enhanced"];
            if (!full.form.control(IDC_MESSAGE).text.empty()) ++seen["refusal"];
        }
        EXPECT_LT(keptOperations, fullOperations) << "the records spared no work";
    }
    for (const char* what : {"bay", "column", "default", "Standard", "Enhanced", "Fill", "refusal"})
        EXPECT_GT(seen[what], 10) << what;
}

// A form kept before any pass returns to unsettled records on reset: the next pass works every
// column again.
TEST(ColumnRecords, ResetUnsettlesEveryColumn) {
    fixture::Enclosure e(fixture::builtInCatalogue());
    e.form.keepColumnRecords(true);
    e.form.keep();
    e.chooseBay(1, "Tarn");
    e.chooseBay(2, "Fell");
    for (int c = 0; c < ids::kColumns; ++c) EXPECT_TRUE(e.form.columnRecord(c)->settled) << c;
    e.form.reset();
    for (int c = 0; c < ids::kColumns; ++c) EXPECT_FALSE(e.form.columnRecord(c)->settled) << c;
    e.chooseBay(3, "Tarn");
    EXPECT_EQ(e.labels(0), "");
    EXPECT_EQ(e.labels(2), "A-5, NIC A; A-6, NIC B; B-6, NIC C");
    fixture::Enclosure without(fixture::builtInCatalogue());
    EXPECT_EQ(without.form.columnRecord(0), nullptr) << "a form keeps no records unless asked";
}

// A form settled where a pass would change nothing, then kept, returns to those records on every
// reset: from the start-up state and from states with blades, refusals and group-of-four
// columns, every action and every reset leaves it as a form whose pass works every column.
TEST(ColumnRecords, SettledColumnsReturnWithTheKeptState) {
    Random rowsRandom(8);
    const std::string rows[] = {"", kRuleRows, randomRows(rowsRandom, 10), randomRows(rowsRandom, 14)};
    int settledAtKeep = 0;
    for (std::size_t r = 0; r < std::size(rows); ++r)
        for (const int warmUp : {0, 4, 25}) {
            SCOPED_TRACE("catalogue " + std::to_string(r) + ", kept after " + std::to_string(warmUp) + " actions");
            const BladeCatalogue catalogue = rows[r].empty() ? fixture::builtInCatalogue() : fixture::catalogueWithFile(rows[r]);
            UserForm full(catalogue);
            UserForm kept(catalogue);
            Random fullChoices(100 + 10 * r + static_cast<std::uint64_t>(warmUp));
            Random keptChoices(100 + 10 * r + static_cast<std::uint64_t>(warmUp));
            const auto keepBoth = [&] {
                kept.form.keepColumnRecords(true);
                const FormModel before = kept.form;
                settleUnchangedColumns(kept.form, catalogue);
                ASSERT_EQ(sessions::firstDifference(before, kept.form), -1) << "settling changed the form";
                ASSERT_EQ(before.operationCount(), kept.form.operationCount());
                for (int c = 0; c < ids::kColumns; ++c) settledAtKeep += kept.form.columnRecord(c)->settled;
                kept.form.keep();
                full.form.keep();
            };
            for (int step = 0; step < warmUp; ++step) {
                sessions::act(full, fullChoices);
                sessions::act(kept, keptChoices);
            }
            // Selections no command has seen yet: columns that a pass would change.
            Random raw(static_cast<std::uint64_t>(warmUp));
            for (int i = 0; i < warmUp / 4; ++i) {
                const int column = raw.below(ids::kColumns);
                const int bay = raw.below(2) ? ids::upperBay(column) : ids::lowerBay(column);
                const int entry = raw.below(static_cast<int>(kept.form.control(bay).entries.size()));
                full.form.setSelection(bay, entry);
                kept.form.setSelection(bay, entry);
            }
            keepBoth();
            for (int step = 0; step < 600; ++step) {
                if (step % 9 == 8) {
                    full.form.reset();
                    kept.form.reset();
                    ASSERT_EQ(sessions::firstDifference(full.form, kept.form), -1) << "reset at step " << step;
                }
                const std::string action = sessions::act(full, fullChoices);
                ASSERT_EQ(sessions::act(kept, keptChoices), action) << "step " << step;
                if (action == "Reset") keepBoth();
                ASSERT_EQ(sessions::firstDifference(full.form, kept.form), -1) << "step " << step << " (" << action << ")";
            }
        }
    EXPECT_GT(settledAtKeep, 100) << "hardly a column was settled before a keep";
}

// What a form remembers of a catalogue (settled columns, the rows its entries name) belongs to
// that load, not to the address of its rows: a catalogue loaded into the rows of one that is
// gone is read afresh.
TEST(ColumnRecords, NothingRememberedOutlivesItsCatalogue) {
    const std::string path = ::testing::TempDir() + "records_" + std::to_string(::getpid()) + ".ini";
    const auto load = [&path](BladeCatalogue& catalogue, const char* rows) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs(rows, file);
        std::fclose(file);
        CatalogueHooks hooks;
        hooks.fileName = path.c_str();
        hooks.allocateRows = [](std::size_t count, std::size_t size) -> void* {  // the same rows each time
            alignas(BladeType) static unsigned char rows[16 * sizeof(BladeType)];
            if (count * size > sizeof rows) return nullptr;
            std::memset(rows, 0, sizeof rows);
            return rows;
        };
        ASSERT_TRUE(loadCatalogue(catalogue, hooks));
        std::remove(path.c_str());
    };
    BladeCatalogue halfHeight;
    load(halfHeight, "\"Slim\" 0x800000 AB 11\n");
    FormModel form;
    populateForm(form, halfHeight);
    form.keepColumnRecords(true);
    int quit = QUIT_RUNNING;
    for (const int id : {ids::upperBay(0), ids::lowerBay(0)}) {
        form.setSelection(id, static_cast<int>(form.control(id).entries.size()) - 1);
        runCommand(form, halfHeight, id, kSelectionChanged, quit);
    }
    ASSERT_EQ(form.selectedText(ids::lowerBay(0)), "Slim");
    BladeCatalogue fullHeight;  // its rows take the place of the first one's
    load(fullHeight, "\"Slim\" 0x0 AB 11\n");
    ASSERT_EQ(fullHeight.rows(), halfHeight.rows());
    updateEnclosure(form, fullHeight, kNoBay, -1);
    EXPECT_EQ(form.selectedText(ids::lowerBay(0)), "") << "a full-height Slim above clears the bay below";
    EXPECT_FALSE(form.control(ids::lowerBay(0)).enabled);
}

}  // namespace
