// The launcher's platform on Win32: directory search, process start and wait, the error box.
#pragma once

#include "run.h"

class Win32Platform : public LauncherPlatform {
public:
    void forEachMatch(const char* pattern,
                      const std::function<bool(std::string_view foundName)>& visit) override;
    StartResult startAndWait(const std::string& program, std::string& commandLine) override;
    void showError(const std::string& text) override;
};
