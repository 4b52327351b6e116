// Buffered output that knows whether every byte reached its file.
#pragma once

#include <cerrno>
#include <cstdio>
#include <string>

class OutputSink {
public:
    explicit OutputSink(std::FILE* file) : file_(file) {}
    // The buffer that writers append to; drained by flush().
    std::string& buffer() { return buffer_; }
    // Writes the buffer out once it has grown past a block, so memory stays bounded.
    void flushIfLarge() {
        if (buffer_.size() >= kBlock) flush();
    }
    // Writes everything out; false (with errno kept in error()) once any write failed.
    bool flush() {
        if (!failed_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            fail();
        buffer_.clear();
        if (!failed_ && std::fflush(file_) != 0) fail();
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
    std::FILE* file_;
    std::string buffer_;
    bool failed_ = false;
    int error_ = 0;
};
