// A fresh scratch directory per test: stand-in copies, plain files, folders, and the run log.
#pragma once

#include <string>
#include <vector>

// Full Win32 paths of the programs under test, set by main from the command line.
struct ProgramPaths {
    std::string pkgrun;
    std::string standIn;
};
const ProgramPaths& programPaths();
void setProgramPaths(const ProgramPaths& paths);

// One line of run.log written by a stand-in.
struct LogEntry {
    bool start;              // false for the end line
    std::string program;     // the stand-in's own file name
    unsigned long pid;
    long long micros;        // monotonic, comparable between processes
    std::string commandLine; // start lines only: GetCommandLineA of the stand-in
};

class ScratchDir {
public:
    // Empties (or creates) <driver folder>\scratch\<name>.
    explicit ScratchDir(const std::string& name);

    const std::string& path() const { return path_; }
    // A copy of the stand-in under this name; exits with exitCode after sleeping sleepMs, or
    // dies of an access violation instead when `crash`.
    void addStandIn(const std::string& name, unsigned long exitCode = 0, unsigned long sleepMs = 0,
                    bool crash = false);
    void addFile(const std::string& name);
    void addFolder(const std::string& name);
    // Matches of pattern in the order the platform's search yields them: the expected order.
    std::vector<std::string> searchOrder(const std::string& pattern) const;
    std::vector<LogEntry> readLog() const;

private:
    std::string path_;
    std::string config_;
};
