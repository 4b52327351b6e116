// The five labelled lines that describe a firmware image.
#pragma once

#include <cstddef>
#include <string>

#include "quillscan.h"

// The field's text from its first byte up to its NUL, never past the field's width.
std::string wholeText(const char* field, std::size_t width);

// The field's text after its leading blanks and tabs, up to its NUL, never past its width.
std::string trimmedText(const char* field, std::size_t width);

// The description of record for the image file at path, every line ended by "\n".
// An image kind the tool does not know prints "Unknown" as version and no kind line.
std::string describeRecord(const char* path, const fwHdr& record);
