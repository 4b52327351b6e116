// Host names of blades and switches, and the keys and checks that give them.
#include "enclosure/names.h"

#include <cctype>

#include "base/encoding.h"
#include "input/picks.h"
#include "enclosure/session.h"

namespace {

const std::string kNone;

}  // namespace

void EnclosureNames::clear() {
    for (std::string& host : hosts_) host.clear();
    switches_.clear();
}

bool EnclosureNames::any() const {
    if (!switches_.empty()) return true;
    for (const std::string& host : hosts_)
        if (!host.empty()) return true;
    return false;
}

const std::string& EnclosureNames::host(int bay) const { return bay >= 1 && bay <= kBays ? hosts_[bay] : kNone; }

void EnclosureNames::setHost(int bay, std::string name) {
    if (bay >= 1 && bay <= kBays) hosts_[bay] = std::move(name);
}

const std::string& EnclosureNames::switchHost(char letter) const {
    for (const auto& named : switches_)
        if (named.first == switchKey(letter)) return named.second;
    return kNone;
}

void EnclosureNames::setSwitchHost(char letter, std::string name) {
    for (auto& named : switches_)
        if (named.first == switchKey(letter)) {
            named.second = std::move(name);
            return;
        }
    switches_.emplace_back(switchKey(letter), std::move(name));
}

int EnclosureNames::bayNamed(const std::string& name) const {
    for (int bay = 1; bay <= kBays; ++bay)
        if (!name.empty() && hosts_[bay] == name) return bay;
    return 0;
}

std::vector<char> EnclosureNames::switchesNamed(const std::string& name) const {
    std::vector<char> letters;
    for (const auto& named : switches_)
        if (!name.empty() && isSameHost(named.second, name)) letters.push_back(named.first);
    return letters;
}

bool isSameHost(std::string_view name, std::string_view asked) {
    if (asked.empty() || name.size() < asked.size()) return false;
    if (name.size() > asked.size() && name[asked.size()] != '.') return false;
    for (std::size_t i = 0; i < asked.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(asked[i])))
            return false;
    return true;
}

std::string_view nameAsRead(const std::string& cell, std::string& scratch) {
    std::string_view name = cell;
    if (!isPlainAscii(name)) {
        scratch = inputToUtf8(cell);
        name = scratch;
    }
    const std::size_t first = name.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return name.substr(first, name.find_last_not_of(" \t") - first + 1);
}

NameKey parseNameKey(const std::string& key) {
    std::string lower = key;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    NameKey parsed;
    // Only a switch letter or a bay number may follow: "hostname" or "hosts" is a column like any other.
    const bool digitsAfterHost = lower.size() > 4 && lower.find_first_not_of("0123456789", 4) == std::string::npos;
    if (lower.size() == 7 && lower.compare(0, 6, "switch") == 0 && std::isalnum(static_cast<unsigned char>(key[6]))) {
        parsed.kind = NameKey::SWITCH;
        parsed.letter = switchKey(key[6]);
    } else if (digitsAfterHost && lower.compare(0, 4, "host") == 0) {
        parsed.kind = NameKey::HOST;
        const std::string digits = lower.substr(4);
        int bay = 0;
        if (digits.size() <= 2 && digits[0] != '0')
            for (char ch : digits) bay = ch >= '0' && ch <= '9' && bay >= 0 ? bay * 10 + (ch - '0') : -1;
        parsed.bay = bay >= 1 && bay <= EnclosureNames::kBays ? bay : 0;
    }
    return parsed;
}

std::string switchLetters(const BladeCatalogue& catalogue) {
    std::string letters;
    for (std::size_t row = 1; catalogue.row(row).name[0] != '\0'; ++row)
        for (std::size_t i = 0; i < kFieldSize && catalogue.row(row).portMap[i] != '\0'; ++i) {
            const char letter = switchKey(catalogue.row(row).portMap[i]);
            if (letters.find(letter) == std::string::npos) letters += letter;
        }
    return letters;
}

std::string setName(EnclosureNames& names, const NameKey& key, const std::string& keyText, const std::string& name,
                    const std::string& letters, bool emptyIsError) {
    const std::string what = printable(keyText);
    if (key.kind == NameKey::HOST && key.bay == 0) return what + ": the bay must be a number from 1 to 16";
    if (key.kind == NameKey::SWITCH && letters.find(key.letter) == std::string::npos)
        return what + ": no blade type uses switch " + printable(std::string(1, key.letter));
    if (name.empty()) return emptyIsError ? what + ": the name is empty" : std::string();
    for (char ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            return what + ": the name \"" + printable(name) + "\" holds a control character";
    if (key.kind == NameKey::HOST) names.setHost(key.bay, name);
    else names.setSwitchHost(key.letter, name);
    return {};
}

std::vector<std::string> hostsOnEmptyBays(const EnclosureNames& names, const EnclosureSession& session) {
    std::vector<std::string> messages;
    for (int bay = 1; bay <= EnclosureNames::kBays; ++bay)
        if (!names.host(bay).empty() && !session.holdsBlade(bay))
            messages.push_back("host" + std::to_string(bay) + ": bay " + std::to_string(bay) + " holds no blade");
    return messages;
}

std::string hostOnEmptyBay(const EnclosureNames& names, const EnclosureSession& session) {
    const std::vector<std::string> messages = hostsOnEmptyBays(names, session);
    return messages.empty() ? std::string() : messages.front();
}
