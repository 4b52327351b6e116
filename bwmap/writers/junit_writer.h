// The verdicts of --verify as a JUnit XML report, which CI servers read: a testsuite per
// enclosure, a testcase per planned port and per unexpected neighbour.
#pragma once

#include <memory>
#include <string>

#include "writers/cabling_writer.h"

// `timestamp` is each testsuite's, "YYYY-MM-DDTHH:MM:SS" in UTC. A planned port that is ok is
// a testcase with nothing inside; missing and unexpected are failures of that type, not
// captured an error (the check could not run), and each error that kept bays of the enclosure
// unchecked an error testcase of its own. Names are escaped as XML requires; control
// characters, and bytes that XML cannot hold, are replaced.
std::unique_ptr<CablingWriter> makeJunitWriter(std::string timestamp);
