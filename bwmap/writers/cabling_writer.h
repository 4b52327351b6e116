// The verdicts of --verify as a table, TSV, CSV or JSON Lines, one enclosure at a time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "views/cabling_check.h"
#include "writers/map_writer.h"

// Writes the rows it is handed: Enclosure, Bay, Host, NIC, Switch, Port, Interface, Verdict, Note.
class CablingWriter {
public:
    virtual ~CablingWriter() = default;
    // Before the first enclosure (the header).
    virtual void begin(std::string& out) = 0;
    // One enclosure's rows under its name, and the errors that kept bays of it unchecked.
    virtual void write(std::string& out, const std::string& enclosure, const std::vector<CablingRow>& rows,
                       const std::vector<std::string>& errors) = 0;
    // After the last enclosure: the rows a table still holds.
    virtual void end(std::string& out) { (void)out; }
};

std::unique_ptr<CablingWriter> makeCablingWriter(MapFormat format);
