// Cable names: one rule for every format that names devices and interfaces.
#include "enclosure/cable_names.h"

#include <algorithm>
#include <set>

#include "base/encoding.h"
#include "enclosure/names.h"

std::string parseCableNaming(CableNaming& naming, const std::string& blade, const std::string& switchHost,
                             const std::string& nic, const std::string& port) {
    std::string error;
    if (naming.blade.parse("--blade-name", blade, {"enclosure", "bay"}, error) &&
        naming.switchHost.parse("--switch-name", switchHost, {"enclosure", "switch"}, error) &&
        naming.nic.parse("--nic-name", nic, {"nic", "n"}, error) &&
        naming.port.parse("--switch-port-name", port, {"port"}, error))
        return {};
    return error;
}

std::string switchDeviceName(const NameTemplate& switchHost, const EnclosureNames* names, char letter,
                             const std::string& enclosure) {
    const std::string& host = names ? names->switchHost(letter) : std::string();
    if (!host.empty()) return inputToUtf8(host);
    return switchHost.apply({{"enclosure", enclosure}, {"switch", catalogueToUtf8(std::string(1, letter))}});
}

std::string CableNamer::name(const MappedEnclosure& e, std::vector<NamedCable>& cables, const std::string& site) {
    cables.clear();
    const std::string enclosure = inputToUtf8(e.name ? *e.name : naming_.enclosureName);
    std::map<std::string, std::string> devices;  // name -> what it names in this enclosure
    std::set<std::pair<std::string, std::string>> interfaces;
    std::map<std::pair<std::string, std::string>, int> switchPorts;  // -> bay
    std::map<char, char> switchLetters;  // switchKey -> the letter its first label gives
    auto device = [&](const std::string& name, const std::string& what) -> std::string {
        const auto found = devices.emplace(name, what);
        if (!found.second && found.first->second != what)
            return "the device name \"" + name + "\" is given to " + found.first->second + " and " + what;
        const auto other = owners_.find({site, name});
        if (other != owners_.end() && other->second.first != index_)
            return "the device name \"" + name + "\" (" + what + ") is already a device of enclosure \"" +
                   other->second.second + "\"; put {enclosure} into the name template";
        return {};
    };
    std::vector<NamedCable> named;
    for (const PortMapRow& row : e.rows) {
        NamedCable cable;
        cable.bay = row.bay;
        const std::string switchPort(row.switchPort);
        const std::string label = catalogueToUtf8(switchPort + (row.nic.empty() ? "" : ", " + std::string(row.nic)));
        if (!splitSwitchPort(row.switchPort, cable.letter, cable.number))
            return "the label \"" + label + "\" of bay " + std::to_string(row.bay) + " names no switch port number";
        cable.letter = switchLetters.emplace(switchKey(cable.letter), cable.letter).first->second;
        const std::string& host = e.names ? e.names->host(row.bay) : std::string();
        cable.blade = !host.empty() ? inputToUtf8(host)
                                    : naming_.blade.apply({{"enclosure", enclosure}, {"bay", std::to_string(row.bay)}});
        const std::string letter = catalogueToUtf8(std::string(1, cable.letter));
        cable.switchHost = switchDeviceName(naming_.switchHost, e.names, cable.letter, enclosure);
        cable.mgmt = row.nic == "MGT";
        if (cable.mgmt) {
            cable.nic = "MGT";
        } else {
            const char nic = row.nic.size() == 5 && row.nic.compare(0, 4, "NIC ") == 0 ? row.nic[4] : '\0';
            if (nic < 'A') return "the label \"" + label + "\" of bay " + std::to_string(row.bay) + " names no NIC";
            cable.nic = naming_.nic.apply({{"nic", catalogueToUtf8(std::string(1, nic))}, {"n", std::to_string(nic - 'A' + 1)}});
        }
        cable.port = naming_.port.apply({{"port", std::to_string(cable.number)}});
        cable.label = label;
        std::string error = device(cable.blade, "bay " + std::to_string(row.bay));
        if (error.empty()) error = device(cable.switchHost, "switch " + letter);
        if (!error.empty()) return error;
        if (!interfaces.emplace(cable.blade, cable.nic).second)
            return "bay " + std::to_string(row.bay) + " has two interfaces named \"" + cable.nic +
                   "\"; the NIC name template needs {nic} or {n}";
        const auto port = switchPorts.emplace(std::make_pair(cable.switchHost, cable.port), row.bay);
        if (!port.second)
            return "switch port " + catalogueToUtf8(switchPort) + " (\"" + cable.port + "\") carries labels of bay " +
                   std::to_string(port.first->second) + " and bay " + std::to_string(row.bay) + ": " + onePerPort_;
        named.push_back(std::move(cable));
    }
    for (const auto& device : devices) owners_.emplace(std::make_pair(site, device.first), std::make_pair(index_, enclosure));
    ++index_;
    cables = std::move(named);
    return {};
}

std::vector<const NamedCable*> cablesBySwitch(const std::vector<NamedCable>& cables) {
    std::vector<const NamedCable*> ordered;
    for (const NamedCable& c : cables) ordered.push_back(&c);
    std::stable_sort(ordered.begin(), ordered.end(), [](const NamedCable* a, const NamedCable* b) {
        const auto keyA = static_cast<unsigned char>(switchKey(a->letter));
        const auto keyB = static_cast<unsigned char>(switchKey(b->letter));
        return keyA != keyB ? keyA < keyB : a->number < b->number;
    });
    return ordered;
}
