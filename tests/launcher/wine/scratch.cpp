// Scratch directories for the launcher's Wine tests.
#include "scratch.h"

#include "files_win32.h"

#include <windows.h>

#include <stdexcept>

namespace {

ProgramPaths paths;

std::vector<std::string> splitTabs(const std::string& line, std::size_t fields)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (parts.size() + 1 < fields) {
        std::size_t tab = line.find('\t', pos);
        if (tab == std::string::npos)
            break;
        parts.push_back(line.substr(pos, tab - pos));
        pos = tab + 1;
    }
    parts.push_back(line.substr(pos));
    return parts;
}

} // namespace

const ProgramPaths& programPaths()
{
    return paths;
}

void setProgramPaths(const ProgramPaths& newPaths)
{
    paths = newPaths;
}

ScratchDir::ScratchDir(const std::string& name)
{
    std::string root = programFolder() + "\\scratch";
    CreateDirectoryA(root.c_str(), nullptr);
    path_ = root + "\\" + name;
    if (!removeTree(path_))
        throw std::runtime_error("cannot empty " + path_ + " (a stand-in still running?)");
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

void ScratchDir::addStandIn(const std::string& name, unsigned long exitCode, unsigned long sleepMs, bool crash)
{
    std::string target = path_ + "\\" + name;
    if (!CopyFileA(programPaths().standIn.c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy the stand-in to " + target);
    config_ += name + "\t" + std::to_string(exitCode) + "\t" + std::to_string(sleepMs) + (crash ? "\tcrash" : "") + "\n";
    if (!writeFileBytes(path_ + "\\stand_in.cfg", config_))
        throw std::runtime_error("cannot write the stand-in configuration in " + path_);
}

void ScratchDir::addFile(const std::string& name)
{
    if (!writeFileBytes(path_ + "\\" + name, "[setup]\n"))
        throw std::runtime_error("cannot create " + name + " in " + path_);
}

void ScratchDir::addFolder(const std::string& name)
{
    std::string target = path_ + "\\" + name;
    if (!CreateDirectoryA(target.c_str(), nullptr))
        throw std::runtime_error("cannot create " + target);
}

std::vector<std::string> ScratchDir::searchOrder(const std::string& pattern) const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::vector<LogEntry> ScratchDir::readLog() const
{
    std::vector<LogEntry> entries;
    std::string content = readFileBytes(path_ + "\\run.log");
    std::size_t pos = 0;
    for (std::size_t eol; (eol = content.find('\n', pos)) != std::string::npos; pos = eol + 1) {
        std::vector<std::string> f = splitTabs(content.substr(pos, eol - pos), 5);
        if (f.size() != 5)
            throw std::runtime_error("malformed log line: " + content.substr(pos, eol - pos));
        entries.push_back({f[0] == "start", f[1], std::stoul(f[2]), std::stoll(f[3]), f[4]});
    }
    return entries;
}
