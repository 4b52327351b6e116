// The html format: one self-contained page that draws each enclosure as the window lays it out.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/encoding.h"
#include "writers/map_writer.h"
#include "writers/sheet_footer.h"

// A plans row's name heads its enclosure's page; the switch tables stand beside the drawing.
// With `facts`, each page ends in a footer naming the run (see sheet_footer.h).
std::unique_ptr<MapWriter> makeHtmlWriter(const SheetFacts* facts = nullptr);

// The pieces of the sheet for pages of other views: the document's head (its style sheet) and
// tail, and an enclosure's drawing (its view) with the bays that `marked` holds true for (by bay
// 1-16; nullptr for none) framed as changed.
void appendSheetHead(std::string& out);
void appendSheetTail(std::string& out);
void appendEnclosureDrawing(std::string& out, const MappedEnclosure& e, const bool* marked);

// Appends UTF-8 text as HTML character data or attribute value: markup characters as
// references, line ends and tabs as blanks, other control characters as U+FFFD.
void appendHtmlText(std::string& out, const std::string& utf8);
// 8-bit text the same way, converted by `toUtf8` unless it is plain ASCII.
void appendHtmlText(std::string& out, const std::string& text, ToUtf8 toUtf8);
// Whether appendHtmlText writes `text` as it is from any source: ASCII without control bytes or
// markup characters.
bool isPlainHtml(std::string_view text);
