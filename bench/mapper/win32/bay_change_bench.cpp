// Time and Win32 calls of one bay change inside the program: command arrival to end of recompute.
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "win32/app.h"

namespace {

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

// bay_change_bench [changes]: alternates bay 2 between Tarn-M2 and Tarn on a shown form that
// holds Fell in bays 1 and 9, Crag in bay 5 and Tarn-M3 in bay 4, so every change recomputes a
// realistically filled enclosure.
int main(int argc, char** argv) {
    int changes = argc > 1 ? std::stoi(argv[1]) : 400;
    MapperProgram& program = mapperProgram();
    program.instance = GetModuleHandleA(nullptr);
    CatalogueHooks hooks;
    hooks.fileName = "no-catalogue-file-here.ini";
    if (!loadCatalogue(program.catalogue, hooks)) return 1;
    HWND form = createEnclosureForm();
    if (form == nullptr) return 1;
    ShowWindow(form, SW_SHOWNORMAL);
    UpdateWindow(form);

    auto choose = [&](int id, const char* text) {
        HWND combo = GetDlgItem(form, id);
        LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        std::uint64_t calls = program.form.win32Calls();
        double start = nowMicros();
        SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        double elapsed = nowMicros() - start;
        return std::make_pair(elapsed, static_cast<double>(program.form.win32Calls() - calls));
    };
    choose(1000, "Fell");
    choose(1008, "Fell");
    choose(1004, "Crag");
    choose(1003, "Tarn-M3");
    pump();

    std::vector<double> times, calls;
    for (int i = 0; i < changes; ++i) {
        auto [elapsed, count] = choose(1001, i % 2 ? "Tarn" : "Tarn-M2");
        times.push_back(elapsed);
        calls.push_back(count);
        pump();  // painting happens between changes, outside the measured span
    }
    std::printf("bay change: %d changes, median %.0f us, 90th percentile %.0f us, "
                "median %.0f Win32 calls per change\n",
                changes, median(times), percentile(times, 0.9), median(calls));
    return 0;
}
