// Device and interface names made from templates such as "{enclosure}-bay{bay}".
#pragma once

#include <string>
#include <utility>
#include <vector>

class NameTemplate {
public:
    // Parses `text`, which may use only the placeholders `allowed` (without braces). False with
    // a message for an empty template, an unknown placeholder or an unclosed brace.
    bool parse(const std::string& option, const std::string& text, const std::vector<const char*>& allowed,
               std::string& error);
    // The name with each placeholder replaced by the value given for it.
    std::string apply(const std::vector<std::pair<const char*, std::string>>& values) const;
    // Whether the template uses the placeholder.
    bool uses(const char* placeholder) const;

private:
    std::vector<std::pair<bool, std::string>> parts_;  // (placeholder?, text or its name)
};
