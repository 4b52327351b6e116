// The junit format of --verify, streamed: each enclosure's testsuite is written when its rows are.
#include "writers/junit_writer.h"

#include "base/encoding.h"
#include "writers/markup_text.h"

namespace {

void appendAttribute(std::string& out, const char* name, const std::string& value) {
    out += ' ';
    out += name;
    out += "=\"";
    appendHtmlText(out, value, inputToUtf8);
    out += '"';
}

void appendCount(std::string& out, const char* name, std::size_t count) {
    appendAttribute(out, name, std::to_string(count));
}

// A testcase: `kind` is nullptr for one that passed, else "failure" or "error" with its type.
void appendCase(std::string& out, const std::string& classname, const std::string& name, const char* kind,
                const char* type, const std::string& message) {
    out += "    <testcase";
    appendAttribute(out, "classname", classname);
    appendAttribute(out, "name", name);
    if (kind == nullptr) {
        out += "/>\n";
        return;
    }
    out += ">\n      <";
    out += kind;
    appendAttribute(out, "type", type);
    appendAttribute(out, "message", message);
    out += "/>\n    </testcase>\n";
}

class JunitWriter : public CablingWriter {
public:
    explicit JunitWriter(std::string timestamp) : timestamp_(std::move(timestamp)) {}

    void begin(std::string& out) override { out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n"; }

    void write(std::string& out, const std::string& enclosure, const std::vector<CablingRow>& rows,
               const std::vector<std::string>& errors) override {
        std::size_t failures = 0, notCaptured = 0;
        for (const CablingRow& row : rows) {
            failures += row.verdict == CablingRow::MISSING || row.verdict == CablingRow::UNEXPECTED;
            notCaptured += row.verdict == CablingRow::NOT_CAPTURED;
        }
        out += "  <testsuite";
        appendAttribute(out, "name", enclosure);
        appendCount(out, "tests", rows.size() + errors.size());
        appendCount(out, "failures", failures);
        appendCount(out, "errors", notCaptured + errors.size());
        appendCount(out, "skipped", 0);
        appendAttribute(out, "timestamp", timestamp_);
        out += ">\n";
        for (const CablingRow& row : rows) {
            const std::string classname = enclosure + "." + (row.host.empty() ? "bay " + std::to_string(row.bay) : row.host);
            const std::string port = row.switchHost + " " + row.port;
            switch (row.verdict) {
            case CablingRow::OK: appendCase(out, classname, row.nic + " -> " + port, nullptr, nullptr, {}); break;
            case CablingRow::MISSING:
                appendCase(out, classname, row.nic + " -> " + port, "failure", "missing",
                           row.note.empty() ? "no interface of the blade sees " + port : row.note);
                break;
            case CablingRow::NOT_CAPTURED:
                appendCase(out, classname, row.nic + " -> " + port, "error", "not captured", row.note);
                break;
            case CablingRow::UNEXPECTED:
                appendCase(out, classname, (row.interface.empty() ? std::string("?") : row.interface) + " -> " + port,
                           "failure", "unexpected", row.note);
                break;
            }
        }
        for (const std::string& error : errors) appendCase(out, enclosure, error, "error", "error", error);
        out += "  </testsuite>\n";
    }

    void end(std::string& out) override { out += "</testsuites>\n"; }

private:
    std::string timestamp_;
};

}  // namespace

std::unique_ptr<CablingWriter> makeJunitWriter(std::string timestamp) {
    return std::make_unique<JunitWriter>(std::move(timestamp));
}
