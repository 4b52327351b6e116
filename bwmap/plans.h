// Many enclosures from a plans file: one CSV row each, mapped and written as the file streams.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "map_writer.h"
#include "output_sink.h"
#include "session.h"

struct PlansDefaults {
    int enclosureType = -1;  // for rows whose enclosure cell is empty; -1 the start-up state
    int defaultOs = -1;
    std::string switchLetters;  // the letters that switch columns may name
};

// Makes the writer once the header is read: `names` when the file has host or switch columns.
using WriterMaker = std::function<std::unique_ptr<MapWriter>(bool names)>;

// Maps every row of the plans file `path` and writes it through its writer into `sink`; reports
// each row's error or refusal on `err` as "bwmap: FILE:LINE: NAME: message". Returns the exit
// status: 2 when any row had an error (or the header is wrong, before any row is mapped),
// else 3 when any row was refused, else 0.
int runPlans(const std::string& path, const PlansDefaults& defaults, EnclosureSession& session,
             const WriterMaker& makeWriter, OutputSink& sink, std::FILE* err);
