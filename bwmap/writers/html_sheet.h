// The html format: one self-contained page that draws each enclosure as the window lays it out.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "writers/markup_text.h"
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

