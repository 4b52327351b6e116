// Runs bwmap in-process for tests: a scratch folder for files, the output, messages and status.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/run.h"

namespace runner {

// A folder of its own for the files a test writes; removed with the test.
class Scratch {
public:
    Scratch()
        : path_(std::filesystem::temp_directory_path() / ("bwmap_runner_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~Scratch() { std::filesystem::remove_all(path_); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(path_ / name, std::ios::binary) << content;
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    return text;
}

inline Result bwmap(std::vector<std::string> args) {
    args.insert(args.begin(), "bwmap");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = runBwmap(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, contents(out), contents(err)};
}

}  // namespace runner
