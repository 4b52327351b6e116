// --verify on the way from the plans to the verdicts' writer.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/output_sink.h"
#include "enclosure/mapped_enclosure.h"
#include "input/picks.h"
#include "views/cabling_check.h"
#include "writers/cabling_writer.h"

// Checks each enclosure it receives and hands its verdicts to the writer. A capture that cannot
// be read is reported, and so, after the last enclosure, is a HOST=FILE whose host no blade has:
// for a plans file as notes of `notes` that name the file `plansFile` and the row's line, in
// order with the rows; else on `err` at once.
class CablingRun : public MapWriter {
public:
    CablingRun(std::unique_ptr<CablingWriter> writer, CablingChecker& checker, CaptureSource& source, std::FILE* err,
               OutputSink* notes, std::string plansFile)
        : writer_(std::move(writer)), checker_(checker), source_(source), err_(err), notes_(notes),
          plansFile_(std::move(plansFile)) {}
    void begin(std::string& out) override { writer_->begin(out); }
    void write(std::string& out, const MappedEnclosure& e) override {
        std::vector<std::string> errors;
        const std::vector<CablingRow> rows = checker_.check(e, errors);
        const std::string name = checker_.enclosureName(e);
        for (const std::string& error : errors) {
            if (notes_)
                notes_->note("bwmap: " + plansFile_ + ":" + std::to_string(e.line) + ": " +
                             (e.name ? printable(name) : "(no name)") + ": " + printable(error) + "\n");
            else
                std::fprintf(err_, "bwmap: %s%s\n", e.name ? (printable(name) + ": ").c_str() : "", printable(error).c_str());
        }
        writer_->write(out, name, rows, errors);
    }
    void end(std::string& out) override {
        for (const std::string& host : source_.unusedHosts()) {
            const std::string message =
                "bwmap: --verify " + printable(host) + "=...: no blade of the plan has the host name " + printable(host) + "\n";
            if (notes_) notes_->note(message);
            else std::fputs(message.c_str(), err_);
            checker_.countError();
        }
        writer_->end(out);
    }

private:
    std::unique_ptr<CablingWriter> writer_;
    CablingChecker& checker_;
    CaptureSource& source_;
    std::FILE* err_;
    OutputSink* notes_;
    std::string plansFile_;
};
