// The netbox-cables and netbox-interfaces formats: CSV that NetBox's bulk import takes as it is
// (lower-case headers, choice keys, every value quoted, UTF-8, no id column).
#include "writers/netbox_writer.h"

#include "base/text_cells.h"

namespace {

void appendRow(std::string& out, std::initializer_list<const std::string*> values) {
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
    NetboxWriter(bool cables, const NetboxOptions& options)
        : cables_(cables), options_(options), namer_(options, "NetBox takes one cable per interface") {}

    void begin(std::string& out) override {
        out += cables_ ? "side_a_device,side_a_type,side_a_name,side_b_device,side_b_type,side_b_name,status,label\r\n"
                       : "device,name,type,mgmt_only\r\n";
    }

    std::string refuse(const MappedEnclosure& e) override { return namer_.name(e, pending_); }

    void write(std::string& out, const MappedEnclosure&) override {
        static const std::string kInterface = "dcim.interface";
        static const std::string kTrue = "true", kFalse = "false";
        if (cables_) {
            for (const NamedCable& c : pending_)
                appendRow(out, {&c.blade, &kInterface, &c.nic, &c.switchHost, &kInterface, &c.port, &options_.cableStatus, &c.label});
            return;
        }
        for (const NamedCable& c : pending_) appendRow(out, {&c.blade, &c.nic, &options_.interfaceType, c.mgmt ? &kTrue : &kFalse});
        for (const NamedCable* c : cablesBySwitch(pending_)) appendRow(out, {&c->switchHost, &c->port, &options_.interfaceType, &kFalse});
    }

private:
    bool cables_;
    NetboxOptions options_;
    CableNamer namer_;
    std::vector<NamedCable> pending_;
};

}  // namespace

std::unique_ptr<MapWriter> makeNetboxWriter(bool cables, const NetboxOptions& options) {
    return std::make_unique<NetboxWriter>(cables, options);
}
