// Name templates: literal text and {placeholders}, checked once and applied per device.
#include "enclosure/name_template.h"

#include <cstring>

#include "input/picks.h"

bool NameTemplate::parse(const std::string& option, const std::string& text, const std::vector<const char*>& allowed,
                         std::string& error) {
    parts_.clear();
    if (text.empty()) {
        error = option + ": the template is empty";
        return false;
    }
    std::string list;
    for (const char* name : allowed) list += std::string(list.empty() ? "" : ", ") + "{" + name + "}";
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '{') {
            const std::size_t next = text.find('{', i);
            parts_.emplace_back(false, text.substr(i, next == std::string::npos ? std::string::npos : next - i));
            i = next == std::string::npos ? text.size() : next;
            continue;
        }
        const std::size_t close = text.find('}', i);
        const std::string name = text.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
        bool known = close != std::string::npos;
        if (known) {
            known = false;
            for (const char* a : allowed) known = known || name == a;
        }
        if (!known) {
            error = option + ": \"" + printable(text) + "\": " +
                    (close == std::string::npos ? "a \"{\" is not closed" : "unknown placeholder {" + printable(name) + "}") +
                    "; it may use " + list;
            return false;
        }
        parts_.emplace_back(true, name);
        i = close + 1;
    }
    return true;
}

std::string NameTemplate::apply(const std::vector<std::pair<const char*, std::string>>& values) const {
    std::string out;
    for (const auto& part : parts_) {
        if (!part.first) {
            out += part.second;
            continue;
        }
        for (const auto& value : values)
            if (part.second == value.first) out += value.second;
    }
    return out;
}

bool NameTemplate::uses(const char* placeholder) const {
    for (const auto& part : parts_)
        if (part.first && part.second == placeholder) return true;
    return false;
}
