// The switch's side of the map: labels by switch and port, one port looked up, shared ports.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "writers/map_writer.h"
#include "base/output_sink.h"

// One label seen from its switch.
struct SwitchLabel {
    const PortMapRow* row;
    char letter;  // the switch port's first byte
    int port;     // 0 when the label has no port number ("A-?")
};
// The labels of `rows` ordered by switch, then port number; labels without a number last, and
// labels on one port in the order of `rows`.
std::vector<SwitchLabel> labelsBySwitch(PortMapRows rows);
// The same into `labels`, whose storage is reused.
void labelsBySwitch(PortMapRows rows, std::vector<SwitchLabel>& labels);
// The label's port as the switch view writes it: the number, else the text after "A-".
std::string switchPortText(const SwitchLabel& label);

// Rows ordered by switch, then port number (ports without a number last), with the columns
// [Enclosure,] Switch, Port, Bay, Type, [Host,] NIC and the plans file's `extra` columns. Formats
// table, tsv, csv and json.
std::unique_ptr<MapWriter> makeSwitchWriter(MapFormat format, bool plans, bool names, const BladeCatalogue& catalogue,
                                            const std::vector<std::string>& extra = {});

// A switch port asked for: "A-7" (letter, case ignored) or "NAME:7" (a switch's host name).
struct PortQuery {
    char letter = 0;   // 0 when asked by name
    std::string name;
    int port = 0;
};
// False with a message when the text is neither form.
bool parsePortQuery(const std::string& text, PortQuery& query, std::string& error);

// Passes each enclosure on to `inner`: first warns of two labels on one switch port, as notes of
// `notes` when given, else on `err` at once; then, with a query, keeps only the labels on that
// port and adds their count to `*found`.
class SwitchPortFilter : public MapWriter {
public:
    SwitchPortFilter(std::unique_ptr<MapWriter> inner, const PortQuery* query, std::size_t* found, std::FILE* err,
                     OutputSink* notes = nullptr);
    void begin(std::string& out) override { inner_->begin(out); }
    void write(std::string& out, const MappedEnclosure& enclosure) override;
    void end(std::string& out) override { inner_->end(out); }
    std::string refuse(const MappedEnclosure& enclosure) override { return inner_->refuse(enclosure); }
    bool drawsEnclosure() const override { return inner_->drawsEnclosure(); }

private:
    std::unique_ptr<MapWriter> inner_;
    bool hasQuery_;
    PortQuery query_;
    std::FILE* err_;
    OutputSink* notes_;
    std::size_t* found_;
    // Kept from one enclosure to the next for their storage.
    std::vector<SwitchLabel> labels_;
    std::string warnings_;
    std::string prefix_;
    std::vector<PortMapRow> keptRows_;
};
