// A file held in memory alone, for fuzz targets whose code under test reads a named file: its
// name is a /proc path that any reader opens afresh, and it is gone with the process, however
// the process ends.
#pragma once

#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

class MemoryFile {
public:
    explicit MemoryFile(const char* name) : fd_(memfd_create(name, 0)) {
        if (fd_ < 0) std::abort();
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& path() const { return path_; }

    // Replaces the whole content.
    void assign(const void* data, std::size_t size) {
        if (ftruncate(fd_, 0) != 0) std::abort();
        if (size != 0 && pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    }
    void assign(const std::string& bytes) { assign(bytes.data(), bytes.size()); }

private:
    int fd_;
    std::string path_;
};
