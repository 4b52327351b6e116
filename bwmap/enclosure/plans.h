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

using Problems = std::vector<PickResult>;

// A plans file read record by record: the header's layout, then each row's cells, which a caller
// maps when it needs the enclosure. One rule for every mode that reads plans files.
class PlansReader {
public:
    explicit PlansReader(const PlansDefaults& defaults);
    ~PlansReader();

    // Opens `path` ("-" standard input) and reads its header; false with the message on `err`
    // when the file or its header cannot be read.
    bool open(const std::string& path, std::FILE* err);
    // The file as messages name it: its path, or "<stdin>".
    const std::string& shown() const;
    // Whether the header has host or switch columns; the further columns' names in order.
    bool names() const;
    const std::vector<std::string>& extraNames() const;

    // The next record that holds a cell, and its line; false at the end of the file. A record the
    // reader could not take comes with its error in `problems`.
    bool next(std::vector<std::string>& cells, Problems& problems);
    long line() const;
    // The file could not be read to its end.
    bool readError() const;

    // The row's name cell; nullptr when it is empty or missing.
    const std::string* nameOf(const std::vector<std::string>& cells) const;
    // An error when an earlier row used the name, whose line is returned (else 0 and the name is
    // recorded). Throws std::length_error past 4 GiB of names, rather than miss a twin.
    long checkName(const std::string& name, long line, Problems& problems);
    // The line of the first row with this name; 0 when none.
    long lineOfName(const std::string& name) const;
    // Maps the row into `session` (a fresh form, then its picks) and reads its host names into
    // `names`; every problem is noted, and the row goes on to the next cell after each.
    void map(const std::vector<std::string>& cells, EnclosureSession& session, EnclosureNames& names,
             Problems& problems) const;
    // The row's shape and host names alone, without mapping it.
    void readNames(const std::vector<std::string>& cells, EnclosureNames& names, Problems& problems) const;
    // An error for each host name that an earlier row used; the names are recorded when none is.
    void checkHosts(const EnclosureNames& names, long line, Problems& problems);
    // The row's cells of the further columns.
    void extraOf(const std::vector<std::string>& cells, ExtraColumns& extra) const;
    // The start of a row's messages: "bwmap: FILE:LINE: NAME: ".
    std::string where(const std::string* name, long line) const;

private:
    struct State;
    std::unique_ptr<State> state_;
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
