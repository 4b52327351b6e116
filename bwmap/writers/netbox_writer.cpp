// The netbox-cables and netbox-interfaces formats: CSV that NetBox's bulk import takes as it is
// (lower-case headers, choice keys, every value quoted, UTF-8, no id column).
#include "writers/netbox_writer.h"

#include <cctype>

#include "base/encoding.h"
#include "base/text_cells.h"

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

class NetboxWriter : public MapWriter {
public:
    NetboxWriter(bool cables, const NetboxOptions& options, const std::vector<std::string>& extra)
        : cables_(cables), options_(options), namer_(options, "NetBox takes one cable per interface"),
          sites_(cables && (!options.site.empty() || siteColumn(extra) >= 0)) {}

    // The interface import has no site column: only the cables name one.
    void begin(std::string& out) override {
        out += cables_ ? "side_a_device,side_a_type,side_a_name,side_b_device,side_b_type,side_b_name,status,label"
                       : "device,name,type,mgmt_only";
        out += sites_ ? ",side_a_site,side_b_site\r\n" : "\r\n";
    }

    std::string refuse(const MappedEnclosure& e) override {
        // The row's site cell without surrounding blanks; --site where it is empty.
        site_ = options_.site;
        const int column = e.extra ? siteColumn(e.extra->names) : -1;
        if (column >= 0 && static_cast<std::size_t>(column) < e.extra->values.size()) {
            const std::string& cell = e.extra->values[static_cast<std::size_t>(column)];
            const std::size_t first = cell.find_first_not_of(" \t");
            if (first != std::string::npos)
                site_ = inputToUtf8(cell.substr(first, cell.find_last_not_of(" \t") + 1 - first));
        }
        enclosure_ = inputToUtf8(e.name ? *e.name : options_.enclosureName);
        return namer_.name(e, pending_, site_);
    }

    void write(std::string& out, const MappedEnclosure&) override {
        static const std::string kInterface = "dcim.interface";
        static const std::string kTrue = "true", kFalse = "false";
        if (cables_) {
            for (const NamedCable& c : pending_) {
                const std::string label = options_.label.apply(
                    {{"enclosure", enclosure_}, {"label", c.label}, {"host", c.blade}, {"switch", c.switchHost}});
                std::vector<const std::string*> row = {&c.blade, &kInterface, &c.nic,  &c.switchHost, &kInterface,
                                                       &c.port,  &options_.cableStatus, &label};
                if (sites_) row.insert(row.end(), {&site_, &site_});
                appendRow(out, row);
            }
            return;
        }
        for (const NamedCable& c : pending_)
            appendRow(out, {&c.blade, &c.nic, c.mgmt ? &options_.mgmtInterfaceType : &options_.interfaceType,
                            c.mgmt ? &kTrue : &kFalse});
        for (const NamedCable* c : cablesBySwitch(pending_)) appendRow(out, {&c->switchHost, &c->port, &options_.interfaceType, &kFalse});
    }

private:
    bool cables_;
    NetboxOptions options_;
    CableNamer namer_;
    bool sites_;             // the cables name their ends' site
    std::string site_;       // the enclosure's site; empty for none
    std::string enclosure_;  // the enclosure's {enclosure}
    std::vector<NamedCable> pending_;
};

}  // namespace

std::string parseCableLabel(NetboxOptions& options, const std::string& label) {
    std::string error;
    options.label.parse("--cable-label", label, {"enclosure", "label", "host", "switch"}, error);
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
