// Fuzzes the launcher's argument text and command lines: every line is started whole, within
// the platform's limit, or reported; never cut. The platform is a fake that records starts.
//
// Input: the launcher's own command line, a 0xFF byte, then found names separated by 0xFE
// (the first half package matches, the rest configuration files).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "argument_text.h"
#include "command_lines.h"
#include "run.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

class RecordingPlatform : public LauncherPlatform {
public:
    std::vector<std::string> packages;
    std::vector<std::string> configurations;
    std::vector<std::string> started;
    std::vector<std::string> programs;
    std::vector<std::string> boxes;

    void forEachMatch(const char* pattern, const std::function<bool(std::string_view)>& visit) override {
        for (const std::string& name : std::string(pattern) == "kx0*.exe" ? packages : configurations)
            if (!visit(name)) return;
    }
    StartResult startAndWait(const std::string& program, std::string& commandLine) override {
        programs.push_back(program);
        started.push_back(commandLine);
        return {StartOutcome::ENDED, 0};
    }
    void showError(const std::string& text) override { boxes.push_back(text); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\xFF');
    const std::string commandLine = input.substr(0, split);
    RecordingPlatform platform;
    if (split != std::string::npos) {
        std::vector<std::string> names;
        std::size_t start = split + 1;
        for (;;) {
            const std::size_t end = input.find('\xFE', start);
            names.push_back(input.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        platform.packages.assign(names.begin(), names.begin() + static_cast<long>(names.size() / 2));
        platform.configurations.assign(names.begin() + static_cast<long>(names.size() / 2), names.end());
    }

    const std::string_view argument = argumentText(commandLine);
    check(argument.size() <= commandLine.size());
    check(commandLine.compare(commandLine.size() - argument.size(), argument.size(), argument) == 0);
    check(runLauncher(platform, argument) == 0);

    // Each match in order: started with its whole line, or (too long) not started and, unless
    // silent, reported.
    std::size_t next = 0;
    std::size_t boxes = 0;
    const auto expect = [&](const std::string& line, const std::string& program, const std::string& box) {
        if (line.size() <= MAX_COMMAND_LINE) {
            check(next < platform.started.size() && platform.started[next] == line);
            check(platform.programs[next] == program);
            ++next;
        } else if (!isSilent(argument)) {
            check(boxes < platform.boxes.size() && platform.boxes[boxes++] == box);
        }
    };
    for (const std::string& name : platform.packages)
        expect(packageCommandLine(name, argument), name, packageErrorText(name));
    for (const std::string& name : platform.configurations)
        expect(setupCommandLine(name, argument), "", setupErrorText(name));
    check(next == platform.started.size() && boxes == platform.boxes.size());
    return 0;
}
