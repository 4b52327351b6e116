// The dot format. An edge's end "DEVICE":"PORT" names a port of its node; a node whose label
// has no such port makes Graphviz warn, so every device is drawn as an HTML-like table with a
// cell per port, whose PORT attribute holds the port's name as DOT reads it.
#include "writers/dot_writer.h"

#include <utility>
#include <vector>

#include "base/encoding.h"
#include "writers/markup_text.h"

namespace {

const char kTable[] = "<table border=\"0\" cellborder=\"1\" cellspacing=\"0\" cellpadding=\"3\">";

// A device and its ports in the order of their first edge.
struct Device {
    std::string name;
    std::vector<std::string> ports;
};

void addPort(std::vector<Device>& devices, const std::string& device, const std::string& port) {
    for (Device& d : devices)
        if (d.name == device) {
            for (const std::string& p : d.ports)
                if (p == port) return;
            d.ports.push_back(port);
            return;
        }
    devices.push_back({device, {port}});
}

// The text DOT reads from a quoted string: `\"` is a quote, every other byte stays, so the
// backslashes appendDotString doubles stay doubled.
std::string asDotReadsIt(const std::string& name) {
    std::string read;
    for (const char ch : name) read += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
    return read;
}

void appendNode(std::string& out, const Device& d) {
    out += "  ";
    appendDotString(out, d.name);
    out += " [label=<";
    out += kTable;
    out += "<tr><td><b>";
    appendHtmlText(out, d.name);
    out += "</b></td></tr>";
    for (const std::string& port : d.ports) {
        out += "<tr><td port=\"";
        appendHtmlText(out, asDotReadsIt(port));
        out += "\">";
        appendHtmlText(out, port);
        out += "</td></tr>";
    }
    out += "</table>>];\n";
}

class DotWriter : public MapWriter {
public:
    DotWriter(const CableNaming& naming, bool bySwitch)
        : namer_(naming, "a topology has one cable per port"), bySwitch_(bySwitch) {}

    void begin(std::string& out) override { out += "graph cabling {\n  rankdir=LR;\n  node [shape=plain];\n"; }

    std::string refuse(const MappedEnclosure& e) override { return namer_.name(e, cables_); }

    void write(std::string& out, const MappedEnclosure&) override {
        std::vector<const NamedCable*> order;
        if (bySwitch_) order = cablesBySwitch(cables_);
        else
            for (const NamedCable& c : cables_) order.push_back(&c);
        std::vector<Device> blades, switches;
        for (const NamedCable* c : order) {
            const std::string blade = dotName(c->blade), nic = dotName(c->nic);
            const std::string switchHost = dotName(c->switchHost), port = dotName(c->port);
            out += "  ";
            appendDotString(out, blade);
            out += ':';
            appendDotString(out, nic);
            out += " -- ";
            appendDotString(out, switchHost);
            out += ':';
            appendDotString(out, port);
            out += ";\n";
            addPort(blades, blade, nic);
        }
        // A switch lists its ports by number, whatever the edges' order.
        for (const NamedCable* c : cablesBySwitch(cables_)) addPort(switches, dotName(c->switchHost), dotName(c->port));
        for (const Device& d : blades) appendNode(out, d);
        for (const Device& d : switches) appendNode(out, d);
    }

    void end(std::string& out) override { out += "}\n"; }

private:
    CableNamer namer_;
    bool bySwitch_;
    std::vector<NamedCable> cables_;
};

}  // namespace

std::string dotName(const std::string& name) { return markupCharacters(inputToUtf8(name)); }

void appendDotString(std::string& out, std::string_view name) {
    out += '"';
    for (const char ch : name) {
        if (ch == '"' || ch == '\\') out += '\\';
        out += ch;
    }
    out += '"';
}

std::unique_ptr<MapWriter> makeDotWriter(const CableNaming& naming, bool bySwitch) {
    return std::make_unique<DotWriter>(naming, bySwitch);
}
