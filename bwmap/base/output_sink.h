// Buffered output that knows whether every byte reached its file, with the messages of the run
// buffered beside it.
#pragma once

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

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
    // Writes the messages, then everything else; false (with errno kept in error()) once any
    // write of the output failed.
    bool flush() {
        writeNotes();
        writeOutput();
        return !failed_;
    }
    bool failed() const { return failed_; }
    int error() const { return error_; }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    void fail() {
        failed_ = true;
        error_ = errno;
    }
    // The buffered output, which came after every buffered note.
    void writeOutput() {
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
};
