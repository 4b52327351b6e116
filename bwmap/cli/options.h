// bwmap's options as the command line gives them, and the parser that reads them.
#pragma once

#include <string>
#include <vector>

#include "writers/map_writer.h"

// The parser's header is large: only the files that parse include it.
namespace CLI {
class App;
class Option;
}  // namespace CLI

struct Options {
    std::string enclosure;
    std::string defaultOs;
    std::string catalogue;
    std::string format = "table";
    std::string plans;
    std::string delimiter;
    std::string check;
    std::string by = "bay";
    std::string find;
    std::string cableStatus = "planned";
    std::string interfaceType = "other";
    std::string mgmtInterfaceType = "1000base-t";
    std::string site;
    std::string cableLabel = "{label}";
    std::string name = "enclosure";
    std::string bladeName = "{enclosure}-bay{bay}";
    std::string switchName = "{enclosure}-sw{switch}";
    std::string nicName = "NIC {nic}";
    std::string switchPortName = "{port}";
    std::vector<std::string> picks;
    std::vector<std::string> verify;
    std::vector<std::string> diff;  // OLD NEW
    bool listTypes = false;
    bool all = false;  // --diff: the ports that stay the same too
};

// Declares every option on `app`, bound to `options`; returns --check, whose count tells the mode.
CLI::Option* describe(CLI::App& app, Options& options);
// The --format word as a format; TABLE for "table".
MapFormat formatNamed(const std::string& name);
// Whether the command line names --check with an empty file name, which the library reads as none.
bool emptyCheckName(int argc, const char* const* argv);
