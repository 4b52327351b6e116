// The pairing of two plans files: the old file's rows packed and indexed by name and host, the new
// file's rows matched as they stream, each side mapped in a session of its own.
#include "enclosure/plan_pairs.h"

#include <optional>
#include <stdexcept>

#include "enclosure/kept_rows.h"
#include "enclosure/name_index.h"
#include "enclosure/names.h"
#include "enclosure/session.h"

namespace {

constexpr long kBaySlots = 32;  // a host's place: (row + 1) * kBaySlots + bay

// One side's enclosure as the writers see it.
struct Side {
    EnclosureNames names;
    ExtraColumns extra;
    std::optional<EnclosureView> view;
    MappedEnclosure mapped;
};

}  // namespace

struct PlanPairs::State {
    State(const BladeCatalogue& catalogue, const PlansDefaults& defaults)
        : oldPlans(defaults), newPlans(defaults), oldSession(catalogue), newSession(catalogue) {}
    PlansReader oldPlans, newPlans;
    EnclosureSession oldSession, newSession;
    KeptRows oldRows;
    std::vector<bool> oldGood;            // per old row: read without an error
    std::vector<std::size_t> oldPair;     // per old row: its pair, kNone until met
    NameIndex oldHosts;                   // host -> place
    std::size_t pairs = 0;
    std::vector<std::size_t> newExtraOf;  // per new further column: the old file's column, or kNone
    std::string scratch;
    bool anyLeftOut = false;
};

PlanPairs::PlanPairs(const BladeCatalogue& catalogue, const PlansDefaults& defaults)
    : state_(std::make_unique<State>(catalogue, defaults)) {}
PlanPairs::~PlanPairs() = default;

const std::vector<std::string>& PlanPairs::extraNames() const { return state_->newPlans.extraNames(); }

bool PlanPairs::open(const std::string& oldPath, const std::string& newPath, OutputSink& sink, std::FILE* err) {
    State& s = *state_;
    if (!s.oldPlans.open(oldPath, err)) return false;
    std::vector<std::string> cells;
    Problems problems;
    EnclosureNames names;
    while (s.oldPlans.next(cells, problems)) {
        const long line = s.oldPlans.line();
        const std::string* name = problems.empty() ? s.oldPlans.nameOf(cells) : nullptr;
        if (problems.empty() && !name) problems.push_back({PickResult::INPUT_ERROR, "the name is empty"});
        // A name used twice leaves both rows out: neither is the enclosure for sure.
        const long first = problems.empty() ? s.oldPlans.checkName(*name, line, problems) : 0;
        if (problems.empty()) s.oldPlans.readNames(cells, names, problems);
        if (problems.empty()) s.oldPlans.checkHosts(names, line, problems);
        const std::size_t row = s.oldRows.add(cells, line);
        s.oldGood.push_back(problems.empty());
        s.oldPair.push_back(kNone);
        if (first > 0) s.oldGood[s.oldRows.rowAt(first)] = false;
        if (problems.empty()) {
            for (int bay = 1; bay <= EnclosureNames::kBays; ++bay)
                if (!names.host(bay).empty())
                    s.oldHosts.add(nameAsRead(names.host(bay), s.scratch), static_cast<long>(row + 1) * kBaySlots + bay);
            continue;
        }
        for (const PickResult& problem : problems) sink.note(s.oldPlans.where(name, line) + problem.message.c_str() + "\n");
        if (name) sink.note("bwmap: " + printable(*name) + ": left out of the diff\n");
        s.anyLeftOut = true;
        problems.clear();
    }
    if (s.oldPlans.readError()) {
        sink.note("bwmap: " + s.oldPlans.shown() + ":" + std::to_string(s.oldPlans.line()) +
                  ": the file could not be read to its end\n");
        s.anyLeftOut = true;
    }
    sink.flush();  // the old file's notes before any message of the new one
    if (!s.newPlans.open(newPath, err)) return false;
    for (const std::string& column : s.newPlans.extraNames()) {
        std::size_t found = kNone;
        const std::vector<std::string>& old = s.oldPlans.extraNames();
        for (std::size_t i = 0; i < old.size() && found == kNone; ++i)
            if (old[i] == column) found = i;
        s.newExtraOf.push_back(found);
    }
    return true;
}

std::string PlanPairs::whereInNew(const std::string* name, long line) const {
    return state_->newPlans.where(name, line);
}

void PlanPairs::hostBefore(const std::string& host, std::size_t& pair, int& bay) const {
    const State& s = *state_;
    std::string scratch;
    const long place = s.oldHosts.lineOf(nameAsRead(host, scratch));
    pair = kNone;
    bay = 0;
    if (place == 0) return;
    pair = s.oldPair[static_cast<std::size_t>(place / kBaySlots - 1)];
    if (pair == kNone - 1) pair = kNone;  // met, but left out
    bay = static_cast<int>(place % kBaySlots);
}

bool PlanPairs::run(const Visit& visit, bool draw, OutputSink& sink) {
    State& s = *state_;
    Side before, after;
    std::vector<std::string> cells, oldCells;
    Problems problems;
    const auto fill = [&](Side& side, EnclosureSession& session, const std::string* name, long line) {
        MappedEnclosure& m = side.mapped;
        m = MappedEnclosure();
        m.name = name;
        m.line = line;
        m.enclosure = session.enclosureText();
        m.defaultOs = session.defaultOsText();
        m.rows = session.portMap();
        m.names = side.names.any() ? &side.names : nullptr;
        m.extra = side.extra.empty() ? nullptr : &side.extra;
        if (draw) {
            side.view.emplace(session.view());
            m.view = &*side.view;
        }
    };
    // The old row mapped; false when it has problems, which are noted.
    const auto mapOld = [&](std::size_t row) {
        s.oldRows.cells(row, oldCells);
        s.oldPlans.map(oldCells, s.oldSession, before.names, problems);
        if (!problems.empty()) {
            const std::string* name = s.oldPlans.nameOf(oldCells);
            for (const PickResult& problem : problems)
                sink.note(s.oldPlans.where(name, s.oldRows.line(row)) + problem.message.c_str() + "\n");
            problems.clear();
            return false;
        }
        s.oldPlans.extraOf(oldCells, before.extra);
        return true;
    };
    const auto leaveOut = [&](const std::string& name) {
        sink.note("bwmap: " + printable(name) + ": left out of the diff\n");
        s.anyLeftOut = true;
    };
    while (!sink.failed() && s.newPlans.next(cells, problems)) {
        const long line = s.newPlans.line();
        const std::string* name = problems.empty() ? s.newPlans.nameOf(cells) : nullptr;
        if (problems.empty()) {
            if (name) s.newPlans.checkName(*name, line, problems);
            s.newPlans.map(cells, s.newSession, after.names, problems);
            if (problems.empty()) s.newPlans.checkHosts(after.names, line, problems);
        }
        const long oldLine = name ? s.oldPlans.lineOfName(*name) : 0;
        const long oldRow = oldLine > 0 ? static_cast<long>(s.oldRows.rowAt(oldLine)) : -1;
        const std::size_t row = static_cast<std::size_t>(oldRow);
        const bool oldMet = oldRow >= 0 && s.oldPair[row] == kNone && s.oldGood[row];
        if (oldRow >= 0 && s.oldPair[row] == kNone) s.oldPair[row] = kNone - 1;  // met, not yet paired
        if (!problems.empty()) {
            for (const PickResult& problem : problems) sink.note(s.newPlans.where(name, line) + problem.message.c_str() + "\n");
            problems.clear();
            if (name) leaveOut(*name);
            else s.anyLeftOut = true;
            continue;
        }
        if (oldRow >= 0 && !oldMet) {  // the old row had an error, already noted and named
            s.anyLeftOut = true;
            continue;
        }
        if (oldMet && !mapOld(row)) {
            leaveOut(*name);
            continue;
        }
        const std::size_t pair = s.pairs++;
        if (oldMet) s.oldPair[row] = pair;
        s.newPlans.extraOf(cells, after.extra);
        fill(after, s.newSession, name, line);
        if (oldMet) fill(before, s.oldSession, name, s.oldRows.line(row));
        // The new row's further columns describe the pair.
        if (oldMet) before.mapped.extra = after.mapped.extra;
        visit(pair, oldMet ? &before.mapped : nullptr, &after.mapped);
        sink.flushIfLarge();
    }
    if (s.newPlans.readError()) {
        sink.note("bwmap: " + s.newPlans.shown() + ":" + std::to_string(s.newPlans.line()) +
                  ": the file could not be read to its end\n");
        s.anyLeftOut = true;
    }
    for (std::size_t row = 0; row < s.oldRows.size() && !sink.failed(); ++row) {
        if (s.oldPair[row] != kNone || !s.oldGood[row]) continue;
        if (!mapOld(row)) {
            const std::string* name = s.oldPlans.nameOf(oldCells);
            leaveOut(name ? *name : std::string());
            continue;
        }
        const std::size_t pair = s.pairs++;
        s.oldPair[row] = pair;
        // A removed enclosure's further columns, under the new file's names.
        after.extra.names = s.newPlans.extraNames();
        after.extra.values.assign(s.newExtraOf.size(), std::string());
        for (std::size_t i = 0; i < s.newExtraOf.size(); ++i)
            if (s.newExtraOf[i] != kNone) after.extra.values[i] = before.extra.values[s.newExtraOf[i]];
        fill(before, s.oldSession, s.oldPlans.nameOf(oldCells), s.oldRows.line(row));
        before.mapped.extra = after.extra.empty() ? nullptr : &after.extra;
        visit(pair, &before.mapped, nullptr);
        sink.flushIfLarge();
    }
    return s.anyLeftOut;
}
