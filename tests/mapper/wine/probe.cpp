// Helper for the display tests: sets up a running bwplan, prints where its controls are on
// the screen, and checks or ends it afterwards.
//   mapper_probe colours <bwplan.exe>     coloured form; prints "pid" and "sample" lines
//   mapper_probe reset-target <bwplan.exe> filled form; prints "pid" and "click X Y" (Reset)
//   mapper_probe check-fresh <pid>         waits for a fresh form, then ends the program
//   mapper_probe end <pid>                 ends the program with Cancel
//   mapper_probe find-form                 waits for any shown form; prints "pid" and "rect"
//   mapper_probe show-catalogue <pid>      places the first catalogue-file type a bay offers
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "mapper_driver.h"

namespace {

// Keeps the form above windows that other tests open meanwhile.
void bringToTop(MapperProcess& mapper) {
    SetWindowPos(mapper.form(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(mapper.form());
}

void printSample(MapperProcess& mapper, const char* name, const char* colour, int id) {
    RECT r;
    GetWindowRect(mapper.item(id), &r);
    std::printf("sample %s %s %ld %ld %ld %ld\n", name, colour, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool choose(MapperProcess& mapper, int id, const char* text) {
    if (mapper.chooseText(id, text)) return true;
    std::fprintf(stderr, "selector %d offers no \"%s\"\n", id, text);
    return false;
}

int colours(const char* exe) {
    ScratchDir dir("probe-colours");
    dir.writeFile("bwplan.ini", "\"Ridge\" 0x4000000 AABB 1212\n");
    MapperProcess mapper;
    if (!mapper.start(fullPath(exe), dir.path())) return 1;
    // Fell above and below in column 0; Ridge removing Tarn from bay 5 leaves a message.
    if (!choose(mapper, 1000, "Fell") || !choose(mapper, 1008, "Fell") || !choose(mapper, 1004, "Tarn") ||
        !choose(mapper, 1005, "Ridge"))
        return 1;
    bringToTop(mapper);
    std::printf("pid %lu\n", mapper.pid());
    printSample(mapper, "upper-label", "#233CFF", 1017);
    printSample(mapper, "lower-label", "#289664", 1049);
    printSample(mapper, "upper-caption", "#233CFF", 1101);
    printSample(mapper, "lower-caption", "#289664", 1109);
    printSample(mapper, "message", "#FF2323", 1095);
    mapper.release();
    return 0;
}

int resetTarget(const char* exe) {
    MapperProcess mapper;
    if (!mapper.start(fullPath(exe))) return 1;
    if (!choose(mapper, 1000, "Tarn") || !choose(mapper, 1083, "Standard")) return 1;
    bringToTop(mapper);
    RECT r;
    GetWindowRect(mapper.item(1097), &r);
    std::printf("pid %lu\nclick %ld %ld\n", mapper.pid(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mapper.release();
    return 0;
}

int endProgram(MapperProcess& mapper) {
    mapper.click(2);
    DWORD code = 1;
    if (!mapper.waitForExit(10000, &code)) {
        std::fprintf(stderr, "bwplan did not end after Cancel\n");
        return 1;
    }
    return code == 0 ? 0 : 1;
}

int checkFresh(DWORD pid) {
    MapperProcess mapper;
    if (!mapper.attach(pid)) return 1;
    DWORD started = GetTickCount();
    while (mapper.selection(1000) != -1 || mapper.selected(1083) != "Enhanced" || mapper.visible(1095)) {
        if (GetTickCount() - started > 10000) {
            std::fprintf(stderr, "form not fresh: bay 1 \"%s\", enclosure \"%s\"\n", mapper.selected(1000).c_str(),
                         mapper.selected(1083).c_str());
            endProgram(mapper);
            return 1;
        }
        Sleep(20);
        mapper.waitForForm(nullptr);
    }
    std::printf("fresh form\n");
    return endProgram(mapper);
}

BOOL CALLBACK findAnyForm(HWND window, LPARAM param) {
    if (!IsWindowVisible(window) || GetDlgItem(window, 1083) == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

int findForm() {
    DWORD started = GetTickCount();
    HWND form = nullptr;
    while (EnumWindows(findAnyForm, reinterpret_cast<LPARAM>(&form)), form == nullptr) {
        if (GetTickCount() - started > 30000) return 1;
        Sleep(50);
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    RECT r;
    GetWindowRect(form, &r);
    std::printf("pid %lu\nrect %ld %ld %ld %ld\n", pid, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

// Places the first type from a catalogue file that a bay offers (bays 1-16 in turn), so that a
// picture of the form shows that catalogue at work; prints "placed NAME in bay N". The program
// is left running.
int showCatalogue(DWORD pid) {
    const std::set<std::string> builtIn = {"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2", "Tarn-M3", "Fell", "Crag"};
    MapperProcess mapper;
    if (!mapper.attach(pid)) return 1;
    for (int bay = 0; bay < 16; ++bay) {
        const int id = 1000 + bay;  // upper bays 1000-1007, lower bays 1008-1015
        for (const std::string& entry : mapper.entries(id)) {
            if (builtIn.count(entry) != 0) continue;
            mapper.chooseText(id, entry);
            std::printf("placed %s in bay %d\n", entry.c_str(), bay + 1);
            mapper.release();
            return 0;
        }
    }
    mapper.release();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "find-form") return findForm();
    if (argc != 3) {
        std::fprintf(stderr, "usage: mapper_probe colours|reset-target <bwplan.exe> | check-fresh|end|show-catalogue <pid>\n");
        return 2;
    }
    std::string mode = argv[1];
    if (mode == "colours") return colours(argv[2]);
    if (mode == "reset-target") return resetTarget(argv[2]);
    DWORD pid = std::strtoul(argv[2], nullptr, 10);
    if (mode == "check-fresh") return checkFresh(pid);
    if (mode == "show-catalogue") return showCatalogue(pid);
    if (mode == "end") {
        MapperProcess mapper;
        return mapper.attach(pid) ? endProgram(mapper) : 1;
    }
    return 2;
}
