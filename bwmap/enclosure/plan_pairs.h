// Two plans files read side by side: the old one's rows kept, the new one streamed, each
// enclosure of one matched by name with the other's and both mapped when they meet.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/output_sink.h"
#include "enclosure/mapped_enclosure.h"
#include "enclosure/plans.h"

class PlanPairs {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    PlanPairs(const BladeCatalogue& catalogue, const PlansDefaults& defaults);
    ~PlanPairs();

    // Reads the old file whole (rows kept, not mapped; a row's errors as notes of `sink`), then
    // the new file's header. False with the message on `err` when either file or its header
    // cannot be read.
    bool open(const std::string& oldPath, const std::string& newPath, OutputSink& sink, std::FILE* err);
    // The new file's further columns.
    const std::vector<std::string>& extraNames() const;

    // Receives each pair: `before` nullptr for an enclosure only the new plan has, `after`
    // nullptr for one only the old plan has. Both, and the name they point to, are valid only
    // during the call: a caller keeps the names it needs.
    using Visit = std::function<void(std::size_t pair, const MappedEnclosure* before, const MappedEnclosure* after)>;
    // Maps the pairs in the new file's order, then the old file's enclosures that the new one
    // lacks. A row with an error or a refusal in either file is noted as a plans run notes it,
    // and its enclosure is left out (and named). `draw` fills the enclosures' views. Returns
    // whether any row was left out or a file could not be read to its end.
    bool run(const Visit& visit, bool draw, OutputSink& sink);

    // The prefix of a message about a row of the new file: "bwmap: FILE:LINE: NAME: ".
    std::string whereInNew(const std::string* name, long line) const;

    // Where the old plan had a blade of this host name: its pair (kNone when nowhere, or in an
    // enclosure left out) and bay.
    void hostBefore(const std::string& host, std::size_t& pair, int& bay) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
