// Buffered output that knows whether every byte reached its file, with the messages of the run
// buffered beside it.
#pragma once

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/file_access.h"

// Text ends its lines as the platform's text files do: CR LF on Windows, LF elsewhere. Writers
// end lines with LF; the sink writes the platform's line end for them.
#ifdef _WIN32
constexpr bool kTextEndsInCrLf = true;
#else
constexpr bool kTextEndsInCrLf = false;
#endif

// `text` with each LF as CR LF, but for one that a CR already precedes: a CR LF in the data (a
// quoted CSV cell) stays one line end. `afterCr` carries whether the text before ended in CR.
inline std::string crLfLineEnds(std::string_view text, bool& afterCr) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char ch : text) {
        if (ch == '\n' && !afterCr) out += '\r';
        out += ch;
        afterCr = ch == '\r';
    }
    return out;
}

class OutputSink {
public:
    // With `messages` (the error stream), note() buffers messages for it; messages and output
    // leave in the order they arose, so a file that takes both reads as the run went. Without, a
    // note goes to stderr at once.
    explicit OutputSink(std::FILE* file, std::FILE* messages = nullptr) : file_(file), messages_(messages) {}
    OutputSink(const OutputSink&) = delete;
    OutputSink& operator=(const OutputSink&) = delete;
    ~OutputSink() { writeNotes(); }

    // The buffer that writers append to; drained by flush().
    std::string& buffer() { return buffer_; }
    // A message: buffered up to a block.
    void note(std::string_view text) {
        if (!buffer_.empty()) {
            writeNotes();
            writeOutput();
        }
        notes_.append(text);
        if (messages_ == nullptr || notes_.size() >= kBlock) writeNotes();
    }
    // Writes the buffer out once it has grown past a block, so memory stays bounded.
    void flushIfLarge() {
        if (buffer_.size() >= kBlock) flush();
    }
    // For a format that writes its own line ends (CR LF on every platform): its bytes go out as
    // they are.
    void keepLineEnds() { platformLineEnds_ = false; }
    // Writes the messages, then everything else; false (with errno kept in error()) once any
    // write of the output failed.
    bool flush() {
        writeNotes();
        writeOutput();
        return !failed_;
    }
    bool failed() const { return failed_; }
    int error() const { return error_; }
    // The write failed because the reader went away (a closed pipe): the run ends quietly.
    bool readerWentAway() const { return readerGone_; }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    void fail() {
        failed_ = true;
        error_ = errno;
        readerGone_ = readerGone(error_);
    }
    void endLinesInCrLf() {
        std::string text = crLfLineEnds(buffer_, afterCr_);
        buffer_.swap(text);
    }
    // The buffered output, which came after every buffered note.
    void writeOutput() {
        if (kTextEndsInCrLf && platformLineEnds_) endLinesInCrLf();
        if (!failed_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            fail();
        buffer_.clear();
        if (!failed_ && std::fflush(file_) != 0) fail();
    }
    void writeNotes() {
        if (notes_.empty()) return;
        std::FILE* to = messages_ ? messages_ : stderr;
        std::fwrite(notes_.data(), 1, notes_.size(), to);
        std::fflush(to);
        notes_.clear();
    }
    std::FILE* file_;
    std::FILE* messages_ = nullptr;
    std::string buffer_;
    std::string notes_;
    bool failed_ = false;
    int error_ = 0;
    bool readerGone_ = false;
    bool platformLineEnds_ = true;
    bool afterCr_ = false;  // the last byte written was CR
};
