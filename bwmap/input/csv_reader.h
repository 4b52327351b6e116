// A streaming reader of RFC 4180 records: one record in memory at a time.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Bytes to read from; the plans source decodes a file into one.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `out`; 0 at the end or after a read error, which failed() tells.
    virtual std::size_t read(char* out, std::size_t size) = 0;
    virtual bool failed() const = 0;
};

class CsvReader {
public:
    // Reads from an open file, fields split by commas; a UTF-8 byte-order mark at its start is
    // skipped.
    explicit CsvReader(std::FILE* file);
    // Reads decoded bytes split by `separator`; the first record starts on line `firstLine`.
    CsvReader(ByteSource& source, char separator, long firstLine);

    // Reads the next record. Returns false at the end of the file (or on a read error, which
    // readError() then tells). A record that cannot be taken whole (a quote left open at the
    // end of the file, more than kMaxRecordBytes) is returned with `error` set and its fields
    // cleared; reading goes on after it. Blank lines are skipped.
    bool next(std::vector<std::string>& fields, std::string& error);
    // Line number on which the last record returned started, counting from 1.
    long recordLine() const { return recordLine_; }
    bool readError() const { return readError_; }

    static constexpr std::size_t kMaxRecordBytes = 1 << 20;

private:
    int get();
    bool nextPlainLine(std::vector<std::string>& fields);
    // Whether a byte ends a run of plain bytes in an unquoted field.
    bool endsRun(char ch) const { return ch == separator_ || ch == '\n' || ch == '\r' || ch == '"'; }
    // Steps back over the byte that get() returned last (never over a refill).
    void unget() {
        if (buffer_[--pos_] == '\n') --line_;
    }

    std::unique_ptr<ByteSource> owned_;
    ByteSource& source_;
    char separator_ = ',';
    char buffer_[1 << 16];
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool started_ = false;  // set once the byte-order mark was looked for
    bool readError_ = false;
    long line_ = 1;
    long recordLine_ = 0;
};
