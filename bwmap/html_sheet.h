// The html format: one self-contained page that draws each enclosure as the window lays it out.
#pragma once

#include <memory>
#include <string>

#include "map_writer.h"

// A plans row's name heads its enclosure's page.
std::unique_ptr<MapWriter> makeHtmlWriter();

// Appends UTF-8 text as HTML character data or attribute value: markup characters as
// references, line ends and tabs as blanks, other control characters as U+FFFD.
void appendHtmlText(std::string& out, const std::string& utf8);
