// JSON text written straight into an output buffer, as the library's compact dump writes it.
#pragma once

#include <string>
#include <string_view>

#include "base/encoding.h"

// `text` as a JSON string, quotes included. Plain ASCII is escaped here; any other text goes
// through the library, which replaces bytes that are not UTF-8.
void appendJsonString(std::string& out, std::string_view text);
// A JSON string, or null when `text` is empty.
void appendJsonStringOrNull(std::string& out, std::string_view text);
void appendJsonNumber(std::string& out, int number);

// Text of an 8-bit source as a JSON string (or null when empty): `toUtf8` converts it unless
// it is plain ASCII.
void appendJsonString(std::string& out, std::string_view text, ToUtf8 toUtf8);
void appendJsonStringOrNull(std::string& out, std::string_view text, ToUtf8 toUtf8);
