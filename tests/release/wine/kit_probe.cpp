// Asks Windows about an installed kit: process runs, registry, shortcut files, resources.
#include "kit_probe.h"

#include <shlobj.h>
#include <shobjidl.h>

long runAndWait(const std::string& commandLine, const std::string& directory, const std::string& outputFile) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!outputFile.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) return -1;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    std::string line = commandLine;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, output != INVALID_HANDLE_VALUE, 0,
                                        nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    else TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code == static_cast<DWORD>(-1) ? -1 : static_cast<long>(code);
}

namespace {

std::string stringValue(HKEY key, const char* name) {
    char value[512];
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "";
    return std::string(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
}

}  // namespace

ProgramEntry findInstalledProgram(const std::string& displayName) {
    const char* uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY list;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstall, 0, KEY_READ | view, &list) != ERROR_SUCCESS) continue;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(list, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            HKEY entry;
            if (RegOpenKeyExA(list, name, 0, KEY_READ | view, &entry) != ERROR_SUCCESS) continue;
            ProgramEntry found;
            found.found = stringValue(entry, "DisplayName") == displayName;
            found.version = stringValue(entry, "DisplayVersion");
            found.publisher = stringValue(entry, "Publisher");
            RegCloseKey(entry);
            if (found.found) {
                RegCloseKey(list);
                return found;
            }
        }
        RegCloseKey(list);
    }
    return {};
}

ShortcutInfo readShortcut(const std::string& path) {
    ShortcutInfo info;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(path.begin(), path.end());
        char text[MAX_PATH];
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            if (link->GetPath(text, MAX_PATH, nullptr, 0) == S_OK) info.target = text;
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) info.workingFolder = text;
        }
    }
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    CoUninitialize();
    return info;
}

std::string readManifest(const std::string& program) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return "";
    std::string text;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        if (HGLOBAL data = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

std::string shellFolder(int csidl) {
    char path[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return path;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
