// The cabling a plan gives each blade, checked against what the blades' LLDP captures saw.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "input/lldp_capture.h"
#include "enclosure/mapped_enclosure.h"
#include "enclosure/name_template.h"

// One switch port that a label plans, with the names the switch sends over LLDP.
struct PlannedPort {
    int bay = 0;
    std::string host;        // the blade's host name, UTF-8; empty when it has none
    std::string nic;         // "NIC B", or "MGT" for the management port
    std::string switchHost;  // the switch's system name
    std::string port;        // the switch port's name
    int number = 0;          // the switch port's number on the label
};

struct CablingRow {
    enum Verdict { OK, MISSING, UNEXPECTED, NOT_CAPTURED };
    int bay = 0;
    std::string host;
    std::string nic;         // empty for an unexpected neighbour
    std::string switchHost;  // as planned; for an unexpected neighbour, as seen
    std::string port;
    std::string interface;   // the blade's interface that sees the port; empty when none does
    Verdict verdict = OK;
    std::string note;        // the bay a stray port is planned for, advice; may be empty
};

const char* verdictText(CablingRow::Verdict verdict);

// How switches and their ports are named: a switch without a host name by `switchHost` from
// {enclosure} and {switch}, a port by `port` from {port}.
struct CablingNames {
    NameTemplate switchHost;
    NameTemplate port;
};

// The ports that the enclosure's labels plan, in the port map's order, management ports
// included. Empty when done, else the message (a label without a switch port number).
std::string planPorts(const MappedEnclosure& e, const std::string& enclosureName, const CablingNames& names,
                      std::vector<PlannedPort>& ports);

// Bay `bay`'s planned NIC ports against the neighbours its blade saw: one row per planned port
// (ok with the interface, or missing), then one per neighbour the plan does not give to that
// port (unexpected, with the bay the plan gives it to). `ports` are the whole enclosure's.
std::vector<CablingRow> checkBlade(const std::vector<PlannedPort>& ports, int bay,
                                   const std::vector<LldpNeighbour>& seen);

// Bay `bay`'s planned NIC ports, each `not captured` with the note.
std::vector<CablingRow> uncheckedBlade(const std::vector<PlannedPort>& ports, int bay, const std::string& note);

// Where the captures are: HOST.json in a folder, or a file named for one host.
class CaptureSource {
public:
    // Adds one --verify value: an existing folder, else HOST=FILE, else a folder (which then
    // must exist). Empty when done, else the message.
    std::string add(const std::string& value);
    // Whether a folder was given: then every blade with a host name is checked.
    bool hasFolder() const { return !folder_.empty(); }
    struct Place {
        enum Kind { FILE, NAMED_FILE, UNCHECKED, SKIPPED, BAD_NAME } kind = SKIPPED;
        // FILE, NAMED_FILE: the path; UNCHECKED: why the blade cannot be checked; BAD_NAME: the message
        std::string text;
    };
    // Where the capture of the blade with this host name (as the plan gives it) is: a file of
    // the folder, a file named for it, none that can be read (UNCHECKED), none because only
    // other hosts' files were named (SKIPPED), or an error: a host name that is no plain file
    // name cannot name a file of the folder (BAD_NAME).
    Place locate(const std::string& host);
    // The hosts named by HOST=FILE that no checked plan had; called after the last enclosure.
    std::vector<std::string> unusedHosts() const;

private:
    std::string folder_;
    std::map<std::string, std::pair<std::string, bool>> files_;  // host -> (file, used)
};

// Checks every enclosure a writer receives; keeps the verdicts' tally for the exit status.
class CablingChecker {
public:
    CablingChecker(CaptureSource& source, CablingNames names, std::string singleName)
        : source_(source), names_(std::move(names)), singleName_(std::move(singleName)) {}
    // The rows of one enclosure, bay by bay in the port map's order. Errors (a capture that
    // cannot be read, a label without a port) go into `errors`; the bays they concern have no rows.
    std::vector<CablingRow> check(const MappedEnclosure& e, std::vector<std::string>& errors);
    // The enclosure's name in the rows, UTF-8: the plans row's, else the single enclosure's.
    std::string enclosureName(const MappedEnclosure& e) const;
    bool anyDifference() const { return differences_ > 0; }
    bool anyError() const { return errors_ > 0; }
    void countError() { ++errors_; }

private:
    CaptureSource& source_;
    CablingNames names_;
    std::string singleName_;
    int differences_ = 0;
    int errors_ = 0;
};
