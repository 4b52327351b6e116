// Text in markup: the html sheet's and the JUnit report's names, and the topology graph's labels.
#pragma once

#include <string>
#include <string_view>

#include "base/encoding.h"

// Appends UTF-8 text as HTML or XML character data or attribute value: markup characters as
// references, line ends and tabs as blanks, other control characters and U+FFFE, U+FFFF as U+FFFD.
void appendHtmlText(std::string& out, const std::string& utf8);
// The characters of `utf8` as appendHtmlText keeps them, markup characters unescaped: for a
// name that must read the same in markup and around it.
std::string markupCharacters(const std::string& utf8);
// 8-bit text the same way, converted by `toUtf8` unless it is plain ASCII.
void appendHtmlText(std::string& out, const std::string& text, ToUtf8 toUtf8);
// Whether appendHtmlText writes `text` as it is from any source: ASCII without control bytes or
// markup characters.
bool isPlainHtml(std::string_view text);
