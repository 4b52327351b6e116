// RFC 4180 records: fields split by commas (or the separator given), records by CR LF or LF; a quoted field holds commas,
// line ends and doubled quotes. A quote inside an unquoted field is taken as a character.
#include "input/csv_reader.h"

#include <algorithm>
#include <cstring>

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    std::size_t read(char* out, std::size_t size) override { return std::fread(out, 1, size, file_); }
    bool failed() const override { return std::ferror(file_) != 0; }

private:
    std::FILE* file_;
};

}  // namespace

CsvReader::CsvReader(std::FILE* file) : owned_(std::make_unique<FileSource>(file)), source_(*owned_) {}

CsvReader::CsvReader(ByteSource& source, char separator, long firstLine)
    : source_(source), separator_(separator), started_(true), line_(firstLine) {}

int CsvReader::get() {
    if (pos_ == end_) {
        if (readError_) return EOF;
        end_ = source_.read(buffer_, sizeof buffer_);
        pos_ = 0;
        if (end_ == 0) {
            if (source_.failed()) readError_ = true;
            return EOF;
        }
    }
    const int ch = static_cast<unsigned char>(buffer_[pos_++]);
    if (ch == '\n') ++line_;
    return ch;
}

// A record that is one line whole in the buffer, with no quote and no carriage return, is split
// where it lies, into the fields' own storage: what the byte loop below makes of it, at once.
bool CsvReader::nextPlainLine(std::vector<std::string>& fields) {
    if (pos_ == end_ || buffer_[pos_] == '\n' || buffer_[pos_] == '\r') return false;
    const char* const begin = buffer_ + pos_;
    const char* const lineEnd = static_cast<const char*>(std::memchr(begin, '\n', end_ - pos_));
    if (lineEnd == nullptr) return false;
    const std::size_t length = static_cast<std::size_t>(lineEnd - begin);
    if (std::memchr(begin, '"', length) != nullptr || std::memchr(begin, '\r', length) != nullptr) return false;
    std::size_t count = 0;
    for (const char* field = begin;; ++count) {
        const char* stop = static_cast<const char*>(std::memchr(field, separator_, static_cast<std::size_t>(lineEnd - field)));
        if (stop == nullptr) stop = lineEnd;
        const std::size_t size = static_cast<std::size_t>(stop - field);
        if (count == fields.size()) {
            fields.emplace_back(field, size);
        } else if (fields[count].size() == size) {  // mostly, row after row: written over in place
            char* const to = &fields[count][0];
            for (std::size_t i = 0; i < size; ++i) to[i] = field[i];
        } else {
            fields[count].assign(field, size);
        }
        if (stop == lineEnd) break;
        field = stop + 1;
    }
    fields.resize(count + 1);
    recordLine_ = line_++;
    pos_ += length + 1;
    return true;
}

bool CsvReader::next(std::vector<std::string>& fields, std::string& error) {
    if (!started_) {
        started_ = true;
        if (get() != EOF) {
            unget();
            static const char kBom[3] = {'\xEF', '\xBB', '\xBF'};
            if (end_ - pos_ >= 3 && std::equal(kBom, kBom + 3, buffer_ + pos_)) pos_ += 3;
        }
    }

    error.clear();
    if (nextPlainLine(fields)) return true;
    fields.clear();
    int ch;
    // Skip blank lines.
    for (;;) {
        ch = get();
        if (ch == '\r') {
            const int after = get();
            if (after == '\n') continue;
            if (after != EOF) unget();
            break;
        }
        if (ch != '\n') break;
    }
    if (ch == EOF) return false;
    recordLine_ = line_;

    std::string field;
    std::size_t bytes = 0;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the current field began with a quote
    for (;; ch = get()) {
        if (ch != EOF && ++bytes > kMaxRecordBytes && error.empty())
            error = "the row is longer than " + std::to_string(kMaxRecordBytes) + " bytes";
        if (quoted) {
            if (ch == EOF) {
                if (error.empty()) error = "a quoted cell is not closed before the end of the file";
                break;
            }
            if (ch == '"') {
                const int after = get();
                if (after == '"') {
                    if (error.empty()) field += '"';
                    continue;
                }
                if (after != EOF) unget();
                quoted = false;
                continue;
            }
            if (error.empty()) field += static_cast<char>(ch);
            continue;
        }
        if (ch == EOF || ch == '\n' || ch == separator_) {
            if (error.empty()) fields.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
            if (ch != separator_) break;
            continue;
        }
        if (ch == '\r') {
            const int after = get();
            if (after == '\n' || after == EOF) {
                if (error.empty()) fields.push_back(std::move(field));
                break;
            }
            unget();
        }
        if (ch == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
            continue;
        }
        if (error.empty()) field += static_cast<char>(ch);
        // The rest of a plain run is taken from the buffer at once.
        std::size_t run = pos_;
        while (run < end_ && !endsRun(buffer_[run])) ++run;
        bytes += run - pos_;
        if (bytes > kMaxRecordBytes && error.empty())
            error = "the row is longer than " + std::to_string(kMaxRecordBytes) + " bytes";
        if (error.empty()) field.append(buffer_ + pos_, run - pos_);
        pos_ = run;
    }
    if (!error.empty()) fields.clear();
    return true;
}
