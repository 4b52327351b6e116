// The switch's side of the map: one port looked up, and the ports that carry two labels.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "enclosure/mapped_enclosure.h"
#include "enclosure/switch_order.h"
#include "base/output_sink.h"

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
// port and adds their count to `*found`. A query by a name that no switch of the run has is an
// error: end() says so with the names the run has, sets `*unknownName` and writes nothing, not
// even the header (which a query by name holds back until a label is kept, or the end).
class SwitchPortFilter : public MapWriter {
public:
    SwitchPortFilter(std::unique_ptr<MapWriter> inner, const PortQuery* query, std::size_t* found, std::FILE* err,
                     OutputSink* notes = nullptr, bool* unknownName = nullptr);
    void begin(std::string& out) override;
    void write(std::string& out, const MappedEnclosure& enclosure) override;
    void end(std::string& out) override;
    std::string refuse(const MappedEnclosure& enclosure) override { return inner_->refuse(enclosure); }
    bool drawsEnclosure() const override { return inner_->drawsEnclosure(); }

private:
    std::unique_ptr<MapWriter> inner_;
    bool hasQuery_;
    PortQuery query_;
    std::FILE* err_;
    OutputSink* notes_;
    std::size_t* found_;
    bool* unknownName_;
    bool begun_ = false;      // inner_->begin() was called
    bool nameSeen_ = false;   // a switch of the run has the name asked for
    std::vector<std::string> switchNames_;  // the first few names of the run's switches, for the error
    bool moreNames_ = false;
    // Kept from one enclosure to the next for their storage.
    std::vector<SwitchLabel> labels_;
    std::string warnings_;
    std::string prefix_;
    std::vector<PortMapRow> keptRows_;
};
