// What a blade's LLDP daemon saw, read from a capture of `lldpcli -f json show neighbors`.
#pragma once

#include <string>
#include <vector>

// One neighbour: the switch port at the other end of one of the blade's interfaces.
struct LldpNeighbour {
    std::string interface;        // the blade's interface that received it
    std::string chassisName;      // the neighbour's system name; empty when it sent none
    std::string portIdType;       // the port ID's subtype as lldpcli names it: "ifname", "local", "mac", ...
    std::string portId;
    std::string portDescription;  // empty when it sent none
};

// Parses the text of a capture in either shape (-f json or -f json0). False with a message when
// the text is not JSON or not a neighbour listing.
bool parseLldpCapture(const std::string& text, std::vector<LldpNeighbour>& neighbours, std::string& error);

enum class CaptureRead { OK, MISSING, FAILED };

// Reads and parses the capture file `path`: MISSING when there is no such file, FAILED with a
// message naming the file when it cannot be read (a folder, a device, too large) or parsed.
CaptureRead readLldpCapture(const std::string& path, std::vector<LldpNeighbour>& neighbours, std::string& error);
