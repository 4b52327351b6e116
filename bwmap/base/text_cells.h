// How a field becomes one cell of a text line: the cleaning of tsv and table cells and the
// quoting of CSV cells, the same for every mode.
#pragma once

#include <string>
#include <string_view>

#include "base/char_writer.h"

// A byte of a tsv or table cell: tab, CR and LF as a blank (they would cut the line or the
// cell), NUL as '?'; any other byte as it is.
inline char cellByte(char ch) { return ch == '\t' || ch == '\r' || ch == '\n' ? ' ' : ch == '\0' ? '?' : ch; }
// Appends `field` as a tsv or table cell, in the text formats' encoding (outputText).
void appendCell(std::string& out, std::string_view field);

// A CSV cell in the text formats' encoding (outputText): the field as it is, or quoted with its
// quotes doubled when it holds a comma, a quote or a line end; a NUL byte as '?'. Takes at most
// three times the field's bytes and two quotes.
void putCsvField(CharWriter& out, std::string_view field);
void appendCsvField(std::string& out, std::string_view field);
// A CSV cell always quoted, its quotes doubled, every other byte as it is (NetBox's import).
void appendQuotedCsvField(std::string& out, std::string_view field);
