// Planned switch ports matched to LLDP neighbours by the switch's system name and port name.
#include "views/cabling_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/encoding.h"
#include "enclosure/cable_names.h"
#include "enclosure/names.h"
#include "input/picks.h"

namespace {

// Port ID subtypes that carry the port's name; a MAC address names no port.
bool idIsName(const LldpNeighbour& n) { return n.portIdType == "ifname" || n.portIdType == "local"; }

// Whether the neighbour is this planned port: the switch's name (a domain after it, and case,
// aside), then the port ID or, failing that, the port description.
bool sees(const LldpNeighbour& n, const PlannedPort& p) {
    if (p.port.empty() || !isSameHost(n.chassisName, p.switchHost)) return false;
    return (idIsName(n) && n.portId == p.port) || n.portDescription == p.port;
}

std::string seenPort(const LldpNeighbour& n) {
    return idIsName(n) || n.portDescription.empty() ? n.portId : n.portDescription;
}

bool isNic(const PlannedPort& p) { return p.nic != "MGT"; }

CablingRow rowOf(const PlannedPort& p, CablingRow::Verdict verdict) {
    CablingRow row;
    row.bay = p.bay;
    row.host = p.host;
    row.nic = p.nic;
    row.switchHost = p.switchHost;
    row.port = p.port;
    row.verdict = verdict;
    return row;
}

// The --switch-port-name template that would name planned port `p` as the switch names `seen`
// ("swp{port}" for "swp7" and port 7): the port's number, standing alone among digits, becomes
// {port}; empty when the number is not in the name.
std::string portTemplateFor(const PlannedPort& p, const std::string& seen) {
    if (seen.find_first_of("{}") != std::string::npos) return {};
    const std::string number = std::to_string(p.number);
    const auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
    for (std::size_t at = seen.rfind(number); at != std::string::npos; at = at == 0 ? std::string::npos : seen.rfind(number, at - 1)) {
        const std::size_t after = at + number.size();
        if ((at > 0 && digit(seen[at - 1])) || (after < seen.size() && digit(seen[after]))) continue;
        return seen.substr(0, at) + "{port}" + seen.substr(after);
    }
    return {};
}

// Why a neighbour that no planned port of its blade matches is there, as far as the plan tells.
std::string strayNote(const std::vector<PlannedPort>& ports, int bay, const LldpNeighbour& n) {
    for (const PlannedPort& p : ports)
        if (p.bay != bay && sees(n, p))
            return "planned for bay " + std::to_string(p.bay) + (p.host.empty() ? "" : " (" + p.host + ")") + ", " + p.nic;
    if (n.chassisName.empty()) return "the neighbour sends no system name";
    bool knownSwitch = false;
    for (const PlannedPort& p : ports) knownSwitch = knownSwitch || isSameHost(n.chassisName, p.switchHost);
    if (knownSwitch && !idIsName(n))
        return "the switch sends a MAC address as the port ID, which names no port: have it send the port name "
               "(lldpd: configure lldp portidsubtype ifname)";
    // The blade's own planned port under another port name: the template that would match it.
    const std::string seen = seenPort(n);
    for (const PlannedPort& p : ports) {
        if (p.bay != bay || !isNic(p) || !isSameHost(n.chassisName, p.switchHost) || p.port == seen) continue;
        const std::string wanted = portTemplateFor(p, seen);
        if (!wanted.empty())
            return "the plan names this switch's ports otherwise: --switch-port-name " + wanted + " would match it to " + p.nic;
    }
    return knownSwitch ? "the plan gives this port to no blade" : "not a switch of the plan";
}

// A name that stands for a file of its folder on every platform: no path, no drive, no byte
// that Windows refuses in a name, and none of the names Windows keeps for its devices (CON,
// NUL, COM1, ... whatever the case, the extension and blanks before it).
bool isPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F || std::string_view("/\\:<>\"|?*").find(ch) != std::string_view::npos)
            return false;
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& ch : stem) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
        if (stem == device) return false;
    if (stem.compare(0, 3, "com") != 0 && stem.compare(0, 3, "lpt") != 0) return true;
    const std::string number = stem.substr(3);
    // A digit, or superscript one, two or three (in UTF-8 or in 8 bits).
    if (number.size() == 1 && std::isdigit(static_cast<unsigned char>(number[0]))) return false;
    for (const char* superscript : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3", "\xB9", "\xB2", "\xB3"})
        if (number == superscript) return false;
    return true;
}

// A file name as the platform writes it: on Windows, every '/' as '\\'.
std::string platformPath(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

// The file `name` in `folder`, joined as the platform joins paths.
std::string joinPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    const bool ends = !folder.empty() && (folder.back() == '/' || folder.back() == '\\' || (folder.size() == 2 && folder[1] == ':'));
    return platformPath(folder + (ends ? "" : "\\") + name);
#else
    return folder + (!folder.empty() && folder.back() == '/' ? "" : "/") + name;
#endif
}

}  // namespace

const char* verdictText(CablingRow::Verdict verdict) {
    switch (verdict) {
    case CablingRow::OK: return "ok";
    case CablingRow::MISSING: return "missing";
    case CablingRow::UNEXPECTED: return "unexpected";
    case CablingRow::NOT_CAPTURED: break;
    }
    return "not captured";
}

std::string planPorts(const MappedEnclosure& e, const std::string& enclosureName, const CablingNames& names,
                      std::vector<PlannedPort>& ports) {
    ports.clear();
    for (const PortMapRow& row : e.rows) {
        PlannedPort p;
        char letter = 0;
        int number = 0;
        if (!splitSwitchPort(row.switchPort, letter, number))
            return "the label \"" + catalogueToUtf8(std::string(row.switchPort) + ", " + std::string(row.nic)) + "\" of bay " +
                   std::to_string(row.bay) + " names no switch port number";
        p.bay = row.bay;
        p.nic = catalogueToUtf8(std::string(row.nic));
        if (e.names) p.host = inputToUtf8(e.names->host(row.bay));
        p.switchHost = switchDeviceName(names.switchHost, e.names, letter, enclosureName);
        p.number = number;
        p.port = names.port.apply({{"port", std::to_string(number)}});
        ports.push_back(std::move(p));
    }
    return {};
}

std::vector<CablingRow> checkBlade(const std::vector<PlannedPort>& ports, int bay,
                                   const std::vector<LldpNeighbour>& seen) {
    std::vector<const PlannedPort*> planned;
    std::vector<CablingRow> rows;
    for (const PlannedPort& p : ports)
        if (p.bay == bay && isNic(p)) {
            planned.push_back(&p);
            rows.push_back(rowOf(p, CablingRow::MISSING));
        }
    std::vector<CablingRow> strays;
    for (const LldpNeighbour& n : seen) {
        std::size_t match = planned.size();
        std::size_t taken = planned.size();
        for (std::size_t i = 0; i < planned.size() && match == planned.size(); ++i) {
            if (!sees(n, *planned[i])) continue;
            if (rows[i].verdict == CablingRow::OK) taken = i;
            else match = i;
        }
        if (match < planned.size()) {
            rows[match].verdict = CablingRow::OK;
            rows[match].interface = n.interface;
            continue;
        }
        CablingRow stray;
        stray.bay = bay;
        for (const PlannedPort& p : ports)
            if (p.bay == bay) stray.host = p.host;
        stray.switchHost = n.chassisName;
        stray.port = seenPort(n);
        stray.interface = n.interface;
        stray.verdict = CablingRow::UNEXPECTED;
        stray.note = taken < planned.size() ? "the port of " + planned[taken]->nic + ", already seen on " + rows[taken].interface
                                            : strayNote(ports, bay, n);
        strays.push_back(std::move(stray));
    }
    rows.insert(rows.end(), strays.begin(), strays.end());
    return rows;
}

std::vector<CablingRow> uncheckedBlade(const std::vector<PlannedPort>& ports, int bay, const std::string& note) {
    std::vector<CablingRow> rows;
    for (const PlannedPort& p : ports)
        if (p.bay == bay && isNic(p)) {
            rows.push_back(rowOf(p, CablingRow::NOT_CAPTURED));
            rows.back().note = note;
        }
    return rows;
}

std::string CaptureSource::add(const std::string& value) {
    std::error_code code;
    if (!value.empty() && std::filesystem::is_directory(value, code)) {
        if (!folder_.empty() && folder_ != value)
            return "--verify: two folders of captures, " + printable(platformPath(folder_)) + " and " + printable(platformPath(value));
        folder_ = value;
        return {};
    }
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos) return "--verify " + printable(value) + ": no such folder (or write HOST=FILE)";
    const std::string host = value.substr(0, equals);
    const std::string file = value.substr(equals + 1);
    if (host.empty() || file.empty()) return "--verify " + printable(value) + ": write HOST=FILE";
    if (!files_.emplace(host, std::make_pair(file, false)).second)
        return "--verify: two captures for " + printable(host);
    return {};
}

CaptureSource::Place CaptureSource::locate(const std::string& host) {
    const auto named = files_.find(host);
    if (named != files_.end() && !host.empty()) {
        named->second.second = true;
        return {Place::NAMED_FILE, platformPath(named->second.first)};
    }
    if (folder_.empty()) return {};
    if (host.empty()) return {Place::UNCHECKED, "the blade has no host name"};
    // The host name becomes a file name of the folder: never a path elsewhere, nor a device.
    if (!isPlainFileName(host))
        return {Place::BAD_NAME, "the host name \"" + printable(host) + "\" cannot name a capture file in " +
                                     printable(platformPath(folder_)) + ": give its capture as --verify HOST=FILE"};
    return {Place::FILE, joinPath(folder_, host + ".json")};
}

std::vector<std::string> CaptureSource::unusedHosts() const {
    std::vector<std::string> hosts;
    for (const auto& named : files_)
        if (!named.second.second) hosts.push_back(named.first);
    return hosts;
}

std::string CablingChecker::enclosureName(const MappedEnclosure& e) const {
    return inputToUtf8(e.name ? *e.name : singleName_);
}

std::vector<CablingRow> CablingChecker::check(const MappedEnclosure& e, std::vector<std::string>& errors) {
    std::vector<CablingRow> rows;
    std::vector<PlannedPort> ports;
    const std::string error = planPorts(e, enclosureName(e), names_, ports);
    if (!error.empty()) {
        errors.push_back(error);
        ++errors_;
        return rows;
    }
    std::vector<int> bays;
    for (const PlannedPort& p : ports)
        if (std::find(bays.begin(), bays.end(), p.bay) == bays.end()) bays.push_back(p.bay);
    for (int bay : bays) {
        const std::string& host = e.names ? e.names->host(bay) : std::string();
        // One capture cannot tell two blades apart: bays sharing a host name are not checked.
        int sameName = 0;
        for (int b : bays)
            if (sameName == 0 && b != bay && !host.empty() && e.names->host(b) == host) sameName = b;
        if (sameName != 0) {
            if (bay < sameName)
                errors.push_back("bays " + std::to_string(bay) + " and " + std::to_string(sameName) +
                                 " have the same host name " + inputToUtf8(host) + ": neither is checked");
            ++errors_;
            continue;
        }
        const CaptureSource::Place place = source_.locate(host);
        std::vector<CablingRow> found;
        if (place.kind == CaptureSource::Place::SKIPPED) continue;
        if (place.kind == CaptureSource::Place::BAD_NAME) {
            errors.push_back(place.text);
            ++errors_;
            continue;
        }
        if (place.kind == CaptureSource::Place::UNCHECKED) {
            found = uncheckedBlade(ports, bay, place.text);
        } else {
            std::vector<LldpNeighbour> seen;
            std::string why;
            const CaptureRead read = readLldpCapture(place.text, seen, why);
            if (read == CaptureRead::OK) {
                found = checkBlade(ports, bay, seen);
            } else if (read == CaptureRead::MISSING && place.kind == CaptureSource::Place::FILE) {
                found = uncheckedBlade(ports, bay, "no capture " + place.text);
            } else {
                errors.push_back(read == CaptureRead::MISSING ? place.text + ": no such file" : why);
                ++errors_;
            }
        }
        for (CablingRow& row : found) {
            if (row.verdict != CablingRow::OK) ++differences_;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}
