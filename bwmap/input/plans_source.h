// A plans file as spreadsheets export it: its encoding, separator and leading noise found
// before the first record is read.
#pragma once

#include <cstdio>
#include <string>

#include "input/csv_reader.h"

class PlansSource : public ByteSource {
public:
    enum Encoding { UTF8_OR_CODE_PAGE, UTF8_BOM, UTF16_LE, UTF16_BE };

    // Reads `file` (owned by the caller) from its current position.
    explicit PlansSource(std::FILE* file) : file_(file) {}

    // Reads the start of the file: a byte-order mark, a first line "sep=X" and a line
    // "#TYPE ..." (both skipped), then the separator from the header line unless `separator`
    // (',', ';' or '\t'; 0 for none) is given; a "sep=" line gives it otherwise. Returns an
    // empty string, or what the file looks like when it is no text export that can be read.
    std::string open(char separator);

    char separator() const { return separator_; }
    Encoding encoding() const { return encoding_; }
    // The line of the file on which the header starts, counting from 1.
    long headerLine() const { return headerLine_; }

    // The text after the skipped lines: UTF-16 turned into UTF-8, any other bytes as they are.
    std::size_t read(char* out, std::size_t size) override;
    bool failed() const override { return failed_; }

private:
    // Appends the next raw block, decoded, to pending_; false at the end of the file.
    bool decodeMore();
    void decode(const unsigned char* bytes, std::size_t size, bool last);

    std::FILE* file_;
    Encoding encoding_ = UTF8_OR_CODE_PAGE;
    char separator_ = ',';
    long headerLine_ = 1;
    bool failed_ = false;
    bool ended_ = false;
    std::string pending_;  // decoded text not yet read
    std::size_t pendingPos_ = 0;
    std::string carry_;    // UTF-16: bytes of an unfinished code unit or surrogate pair
};
