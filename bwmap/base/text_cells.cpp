// The cell rules of every text format.
#include "base/text_cells.h"

#include "base/encoding.h"

void appendCell(std::string& out, std::string_view field) {
    std::string scratch;
    field = outputText(field, scratch);
    const std::size_t start = out.size();
    out += field;
    for (std::size_t i = start; i < out.size(); ++i) out[i] = cellByte(out[i]);
}

// The field is written as it is while it is read, and again quoted only when it must be.
void putCsvField(CharWriter& out, std::string_view field) {
    std::string scratch;
    field = outputText(field, scratch);
    char* const start = out.end();
    char* p = start;
    bool quote = false;
    for (const char ch : field) {
        quote |= ch == ',' || ch == '"' || ch == '\r' || ch == '\n';
        *p++ = ch == '\0' ? '?' : ch;
    }
    if (quote) {
        p = start;
        *p++ = '"';
        for (const char ch : field) {
            if (ch == '"') *p++ = '"';
            *p++ = ch == '\0' ? '?' : ch;
        }
        *p++ = '"';
    }
    out = CharWriter(p);
}

void appendCsvField(std::string& out, std::string_view field) {
    const std::size_t start = out.size();
    out.resize(start + 3 * field.size() + 2);
    CharWriter cell(&out[start]);
    putCsvField(cell, field);
    out.resize(static_cast<std::size_t>(cell.end() - out.data()));
}

void appendQuotedCsvField(std::string& out, std::string_view field) {
    out += '"';
    for (const char ch : field) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}
