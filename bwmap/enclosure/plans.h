// Many enclosures from a plans file: one CSV row each, mapped and written as the file streams.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "enclosure/mapped_enclosure.h"
#include "base/output_sink.h"
#include "enclosure/session.h"

struct PlansDefaults {
    int enclosureType = -1;  // for rows whose enclosure cell is empty; -1 the start-up state
    int defaultOs = -1;
    std::string switchLetters;  // the letters that switch columns may name
    char separator = 0;         // ',', ';' or '\t'; 0 to find it from the file
};

// Makes the writer once the header is read: `names` when the file has host or switch columns,
// `extra` the names of the columns the formats do not know, in the file's order.
using WriterMaker = std::function<std::unique_ptr<MapWriter>(bool names, const std::vector<std::string>& extra)>;

// Maps every row of the plans file `path` ("-" standard input) and writes it through its writer
// into `sink`; reports each problem of a row (every one, not only the first) as a note of `sink`,
// "bwmap: FILE:LINE: NAME: message", and a file or header it cannot read on `err`. Returns the
// exit status: 2 when any row had an error (or the file or its header cannot be read, before any
// row is mapped), else 3 when any row was refused, else 0.
int runPlans(const std::string& path, const PlansDefaults& defaults, EnclosureSession& session,
             const WriterMaker& makeWriter, OutputSink& sink, std::FILE* err);
