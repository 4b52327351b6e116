// The catalogue file's bytes as the window reads them: the file read whole, then Windows'
// text-mode rules applied on every platform, then cut into the lines the line buffer takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The blanks that the C library skips in a catalogue line: space and \t \n \v \f \r.
inline bool isCatalogueBlank(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

enum class FileRead { OK, CANNOT_OPEN, READ_ERROR, TOO_LARGE };

// Reads the file at `path` whole, in binary, into `bytes`, which keeps what was read in every
// case. Stops with TOO_LARGE past `limit` bytes. `error` is errno for CANNOT_OPEN and READ_ERROR.
// Throws std::bad_alloc when the bytes do not fit in memory.
FileRead readWholeFile(const char* path, std::size_t limit, std::string& bytes, int& error);

// Windows' text mode in place: CR LF becomes LF, any other CR stays, and a Ctrl-Z byte ends the
// text.
void applyTextMode(std::string& bytes);

// A line of up to 258 characters, newline included, is one line; longer ones are cut into
// pieces of 258 characters, each a line of its own. Returns the end of the line starting at
// `from` (from < text.size()).
std::size_t lineEnd(std::string_view text, std::size_t from);

// The flag word as the window reads it after "0x": blanks, an optional sign, an optional 0x or
// 0X prefix, hexadecimal digits. A magnitude beyond 32 bits gives 0xFFFFFFFF before the sign
// applies. `length` is the characters read, 0 when no number is there.
struct FlagWord {
    std::size_t length = 0;
    std::uint32_t value = 0;
    bool tooLong = false;  // the digits' value does not fit in 32 bits
};
FlagWord readFlagWord(const char* text);
