// Host names of an enclosure: a blade's per bay, a switch's per switch letter, looked up both ways.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue.h"

class EnclosureSession;

class EnclosureNames {
public:
    static constexpr int kBays = 16;

    void clear();
    // Whether any name is set.
    bool any() const;

    // The blade's host name in bay 1-16; empty when none.
    const std::string& host(int bay) const;
    void setHost(int bay, std::string name);
    // The switch's host name; the letter's case is ignored. Empty when none.
    const std::string& switchHost(char letter) const;
    void setSwitchHost(char letter, std::string name);
    // Named switches as (letter, name), in the order they were first named; letters upper case.
    const std::vector<std::pair<char, std::string>>& switches() const { return switches_; }

    // The bay whose blade has this host name (exact bytes); 0 when none.
    int bayNamed(const std::string& name) const;
    // The letters of the switches with this host name as isSameHost() reads it, upper case;
    // empty when none.
    std::vector<char> switchesNamed(const std::string& name) const;

private:
    std::string hosts_[kBays + 1];  // by bay; [0] unused
    std::vector<std::pair<char, std::string>> switches_;
};

// Whether `name` is the host `asked`: ASCII letters' case is ignored, as host names ignore it,
// and `name` may carry a domain after it ("encl7-swa.dc.example.com" is "encl7-swa").
bool isSameHost(std::string_view name, std::string_view asked);

// A pick's key or a plans column that names a host: "host" and digits (a bay 1-16) or "switch" and
// one letter or digit, case ignored. Any other key names nothing.
struct NameKey {
    enum Kind { NONE, HOST, SWITCH } kind = NONE;
    int bay = 0;      // HOST: 1-16, or 0 for a number out of range
    char letter = 0;  // SWITCH: upper case
};
NameKey parseNameKey(const std::string& key);

// A name as the user reads it, for telling names apart: UTF-8 (an 8-bit cell decoded), without
// leading or trailing blanks. A view of `cell` when it is already so, else of `scratch`.
std::string_view nameAsRead(const std::string& cell, std::string& scratch);

// The switch letters that the catalogue's types use, upper case, each once.
std::string switchLetters(const BladeCatalogue& catalogue);

// Sets the name that `key` names. An empty string when done, else the message: a bay out of
// range, a switch letter no type uses, a name with a control byte (and, with `emptyIsError`,
// an empty name; otherwise an empty name sets nothing).
std::string setName(EnclosureNames& names, const NameKey& key, const std::string& keyText, const std::string& name,
                    const std::string& letters, bool emptyIsError);

// The first host name given for a bay that holds no blade, as a message; empty when none.
std::string hostOnEmptyBay(const EnclosureNames& names, const EnclosureSession& session);
// Every such host name, one message each, by bay.
std::vector<std::string> hostsOnEmptyBays(const EnclosureNames& names, const EnclosureSession& session);

// The switch a letter names: case is ignored, in every mode, as the switchA column ignores it.
// ASCII only, as std::toupper in the "C" locale that bwmap runs in, and inline: the switch
// order calls it for every label.
inline char switchKey(char letter) { return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter; }

// A label's switch port "A-7" as its letter and number; false for any other text ("A-?").
inline bool splitSwitchPort(std::string_view text, char& letter, int& port) {
    if (text.size() < 3 || text.size() > 7 || text[1] != '-' || text[2] == '0') return false;
    int number = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        number = number * 10 + (text[i] - '0');
    }
    letter = text[0];
    port = number;
    return true;
}
