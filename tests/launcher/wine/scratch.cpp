// Scratch directories for the launcher's Wine tests.
#include "scratch.h"

#include <windows.h>

#include <stdexcept>

namespace {

ProgramPaths paths;

std::string driverFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    return full.substr(0, full.find_last_of('\\'));
}

void removeTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else if (!DeleteFileA(full.c_str()))
                throw std::runtime_error("cannot delete " + full + " (a stand-in still running?)");
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

void writeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

std::string readFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

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
    std::string root = driverFolder() + "\\scratch";
    CreateDirectoryA(root.c_str(), nullptr);
    path_ = root + "\\" + name;
    removeTree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

void ScratchDir::addStandIn(const std::string& name, unsigned long exitCode, unsigned long sleepMs)
{
    std::string target = path_ + "\\" + name;
    if (!CopyFileA(programPaths().standIn.c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy the stand-in to " + target);
    config_ += name + "\t" + std::to_string(exitCode) + "\t" + std::to_string(sleepMs) + "\n";
    writeFile(path_ + "\\stand_in.cfg", config_);
}

void ScratchDir::addFile(const std::string& name)
{
    writeFile(path_ + "\\" + name, "[setup]\n");
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
    std::string content = readFile(path_ + "\\run.log");
    std::size_t pos = 0;
    for (std::size_t eol; (eol = content.find('\n', pos)) != std::string::npos; pos = eol + 1) {
        std::vector<std::string> f = splitTabs(content.substr(pos, eol - pos), 5);
        if (f.size() != 5)
            throw std::runtime_error("malformed log line: " + content.substr(pos, eol - pos));
        entries.push_back({f[0] == "start", f[1], std::stoul(f[2]), std::stoll(f[3]), f[4]});
    }
    return entries;
}
