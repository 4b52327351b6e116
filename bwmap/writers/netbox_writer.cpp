// The netbox-cables and netbox-interfaces formats: CSV that NetBox's bulk import takes as it is
// (lower-case headers, choice keys, every value quoted, UTF-8, no id column).
#include "writers/netbox_writer.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "base/encoding.h"
#include "base/text_cells.h"
#include "enclosure/names.h"

namespace {

void appendRow(std::string& out, const std::vector<const std::string*>& values) {
    bool first = true;
    for (const std::string* value : values) {
        if (!first) out += ',';
        first = false;
        appendQuotedCsvField(out, *value);
    }
    out += "\r\n";
}

struct Cable {
    std::string blade, nic, switchHost, port, label;
    bool mgmt;
    char letter;
    int number;
};

class NetboxWriter : public MapWriter {
public:
    NetboxWriter(bool cables, const NetboxOptions& options, const std::vector<std::string>& extra)
        : cables_(cables), options_(options), sites_(cables && (!options.site.empty() || siteColumn(extra) >= 0)) {}

    // The interface import has no site column: only the cables name one.
    void begin(std::string& out) override {
        out += cables_ ? "side_a_device,side_a_type,side_a_name,side_b_device,side_b_type,side_b_name,status,label"
                       : "device,name,type,mgmt_only";
        out += sites_ ? ",side_a_site,side_b_site\r\n" : "\r\n";
    }

    std::string refuse(const MappedEnclosure& e) override {
        pending_.clear();
        const std::string enclosure = inputToUtf8(e.name ? *e.name : options_.enclosureName);
        // The row's site cell without surrounding blanks; --site where it is empty.
        site_ = options_.site;
        const int column = e.extra ? siteColumn(e.extra->names) : -1;
        if (column >= 0 && static_cast<std::size_t>(column) < e.extra->values.size()) {
            const std::string& cell = e.extra->values[static_cast<std::size_t>(column)];
            const std::size_t first = cell.find_first_not_of(" \t");
            if (first != std::string::npos)
                site_ = inputToUtf8(cell.substr(first, cell.find_last_not_of(" \t") + 1 - first));
        }
        std::map<std::string, std::string> devices;  // name -> what it names in this enclosure
        std::set<std::pair<std::string, std::string>> interfaces;
        std::map<std::pair<std::string, std::string>, int> switchPorts;  // -> bay
        std::map<char, char> switchLetters;  // switchKey -> the letter its first label gives
        auto device = [&](const std::string& name, const std::string& what) -> std::string {
            const auto found = devices.emplace(name, what);
            if (!found.second && found.first->second != what)
                return "the device name \"" + name + "\" is given to " + found.first->second + " and " + what;
            const auto other = owners_.find({site_, name});
            if (other != owners_.end() && other->second.first != index_)
                return "the device name \"" + name + "\" (" + what + ") is already a device of enclosure \"" +
                       other->second.second + "\"; put {enclosure} into the name template";
            return {};
        };
        for (const PortMapRow& row : e.rows) {
            Cable cable;
            const std::string switchPort(row.switchPort);
            const std::string label = catalogueToUtf8(switchPort + (row.nic.empty() ? "" : ", " + std::string(row.nic)));
            if (!splitSwitchPort(row.switchPort, cable.letter, cable.number))
                return "the label \"" + label + "\" of bay " + std::to_string(row.bay) + " names no switch port number";
            cable.letter = switchLetters.emplace(switchKey(cable.letter), cable.letter).first->second;
            const std::string& host = e.names ? e.names->host(row.bay) : std::string();
            cable.blade = !host.empty() ? inputToUtf8(host)
                                        : options_.blade.apply({{"enclosure", enclosure}, {"bay", std::to_string(row.bay)}});
            const std::string& switchName = e.names ? e.names->switchHost(cable.letter) : std::string();
            const std::string letter = catalogueToUtf8(std::string(1, cable.letter));
            cable.switchHost = !switchName.empty() ? inputToUtf8(switchName)
                                                   : options_.switchHost.apply({{"enclosure", enclosure}, {"switch", letter}});
            cable.mgmt = row.nic == "MGT";
            if (cable.mgmt) {
                cable.nic = "MGT";
            } else {
                const char nic = row.nic.size() == 5 && row.nic.compare(0, 4, "NIC ") == 0 ? row.nic[4] : '\0';
                if (nic < 'A') return "the label \"" + label + "\" of bay " + std::to_string(row.bay) + " names no NIC";
                cable.nic = options_.nic.apply({{"nic", catalogueToUtf8(std::string(1, nic))}, {"n", std::to_string(nic - 'A' + 1)}});
            }
            cable.port = options_.port.apply({{"port", std::to_string(cable.number)}});
            cable.label = options_.label.apply(
                {{"enclosure", enclosure}, {"label", label}, {"host", cable.blade}, {"switch", cable.switchHost}});
            std::string error = device(cable.blade, "bay " + std::to_string(row.bay));
            if (error.empty()) error = device(cable.switchHost, "switch " + letter);
            if (!error.empty()) return error;
            if (!interfaces.emplace(cable.blade, cable.nic).second)
                return "bay " + std::to_string(row.bay) + " has two interfaces named \"" + cable.nic +
                       "\"; the NIC name template needs {nic} or {n}";
            const auto port = switchPorts.emplace(std::make_pair(cable.switchHost, cable.port), row.bay);
            if (!port.second)
                return "switch port " + catalogueToUtf8(switchPort) + " (\"" + cable.port + "\") carries labels of bay " +
                       std::to_string(port.first->second) + " and bay " + std::to_string(row.bay) +
                       ": NetBox takes one cable per interface";
            pending_.push_back(std::move(cable));
        }
        for (const auto& named : devices) owners_.emplace(std::make_pair(site_, named.first), std::make_pair(index_, enclosure));
        ++index_;
        return {};
    }

    void write(std::string& out, const MappedEnclosure&) override {
        static const std::string kInterface = "dcim.interface";
        static const std::string kTrue = "true", kFalse = "false";
        if (cables_) {
            for (const Cable& c : pending_) {
                std::vector<const std::string*> row = {&c.blade, &kInterface, &c.nic, &c.switchHost, &kInterface,
                                                       &c.port, &options_.cableStatus, &c.label};
                if (sites_) row.insert(row.end(), {&site_, &site_});
                appendRow(out, row);
            }
            return;
        }
        for (const Cable& c : pending_)
            appendRow(out, {&c.blade, &c.nic, c.mgmt ? &options_.mgmtInterfaceType : &options_.interfaceType,
                            c.mgmt ? &kTrue : &kFalse});
        std::vector<const Cable*> ports;
        for (const Cable& c : pending_) ports.push_back(&c);
        std::stable_sort(ports.begin(), ports.end(), [](const Cable* a, const Cable* b) {
            return switchKey(a->letter) != switchKey(b->letter)
                       ? static_cast<unsigned char>(switchKey(a->letter)) < static_cast<unsigned char>(switchKey(b->letter))
                                          : a->number < b->number;
        });
        for (const Cable* c : ports) appendRow(out, {&c->switchHost, &c->port, &options_.interfaceType, &kFalse});
    }

private:
    bool cables_;
    NetboxOptions options_;
    bool sites_;        // the cables name their ends' site
    std::string site_;  // the enclosure's site; empty for none
    std::vector<Cable> pending_;
    // (site, device name) -> its enclosure (count, name): one name may stand for a device at each site.
    std::map<std::pair<std::string, std::string>, std::pair<int, std::string>> owners_;
    int index_ = 1;
};

}  // namespace

std::string parseNetboxTemplates(NetboxOptions& options, const std::string& blade, const std::string& switchHost,
                                 const std::string& nic, const std::string& port, const std::string& label) {
    std::string error;
    if (options.blade.parse("--blade-name", blade, {"enclosure", "bay"}, error) &&
        options.switchHost.parse("--switch-name", switchHost, {"enclosure", "switch"}, error) &&
        options.nic.parse("--nic-name", nic, {"nic", "n"}, error) &&
        options.port.parse("--switch-port-name", port, {"port"}, error) &&
        options.label.parse("--cable-label", label, {"enclosure", "label", "host", "switch"}, error))
        return {};
    return error;
}

// Named as the plans header's own columns are: case and surrounding blanks do not matter.
int siteColumn(const std::vector<std::string>& columns) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string& name = columns[i];
        const std::size_t first = name.find_first_not_of(" \t");
        const std::size_t last = name.find_last_not_of(" \t");
        if (first == std::string::npos || last - first != 3) continue;
        bool same = true;
        for (std::size_t k = 0; k < 4; ++k) same = same && std::tolower(static_cast<unsigned char>(name[first + k])) == "site"[k];
        if (same) return static_cast<int>(i);
    }
    return -1;
}

std::unique_ptr<MapWriter> makeNetboxWriter(bool cables, const NetboxOptions& options,
                                            const std::vector<std::string>& extra) {
    return std::make_unique<NetboxWriter>(cables, options, extra);
}
