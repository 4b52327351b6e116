// The change ticket's formats: table, tsv, csv and json, written as the map writes them.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue.h"
#include "enclosure/mapped_enclosure.h"
#include "views/plan_diff.h"
#include "writers/map_writer.h"

// The enclosure a run of port rows belongs to: its name, and its further columns (from the new
// plan, or the old one for a removed enclosure), named as `extra` of the writer.
struct DiffEnclosure {
    const std::string* name = nullptr;
    const ExtraColumns* extra = nullptr;
};

// The ticket comes out as the facts, then the header, then the port rows; the port rows are
// written as each pair is compared, the facts once every pair is known.
class DiffWriter {
public:
    virtual ~DiffWriter() = default;
    // The blade facts; `enclosure(pair)` names a fact's enclosure.
    virtual void facts(std::string& out, const std::vector<BladeFact>& facts,
                       const std::function<const std::string&(std::size_t pair)>& enclosure) = 0;
    // The port rows' header, after the facts.
    virtual void header(std::string& out) = 0;
    virtual void ports(std::string& out, const DiffEnclosure& e, const std::vector<PortChange>& rows) = 0;
    // After the last pair: the port rows still held.
    virtual void finish(std::string& out) { (void)out; }
};

// `bySwitch` chooses the columns of --by switch, else those of --by bay; `extra` names the new
// plan's further columns. Formats table, tsv, csv, json; any other is refused by the caller.
std::unique_ptr<DiffWriter> makeDiffWriter(MapFormat format, bool bySwitch, const std::vector<std::string>& extra);

// A blade fact as one sentence: "web01: e1 bay 3 -> e1 bay 5", "e1 bay 4: Tarn -> Fell".
std::string factSentence(const BladeFact& fact, const std::string& from, const std::string& to);
