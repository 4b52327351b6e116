// The switch side's order of a port map's labels.
#include "enclosure/switch_order.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "enclosure/names.h"

std::vector<SwitchLabel> labelsBySwitch(PortMapRows rows) {
    std::vector<SwitchLabel> labels;
    labelsBySwitch(rows, labels);
    return labels;
}

// Two passes: a counting sort by letter, which keeps the order of `rows`, then a stable
// insertion by port. A switch's ports mostly rise with the rows already, so few labels move.
void labelsBySwitch(PortMapRows rows, std::vector<SwitchLabel>& labels) {
    const auto letterOf = [](const PortMapRow& row) {
        return static_cast<unsigned char>(row.switchPort.empty() ? '\0' : switchKey(row.switchPort[0]));
    };
    std::uint32_t next[256] = {};  // per letter: first its count, then where its next label goes
    unsigned first = 255, last = 0;  // the letters used
    for (const PortMapRow& row : rows) {
        const unsigned letter = letterOf(row);
        ++next[letter];
        first = std::min(first, letter);
        last = std::max(last, letter);
    }
    std::uint32_t start = 0;
    for (unsigned letter = first; letter <= last; ++letter) start += std::exchange(next[letter], start);
    labels.resize(rows.size());
    for (const PortMapRow& row : rows) {
        char letter;
        int port = 0;  // a local, so that the label is built whole
        splitSwitchPort(row.switchPort, letter, port);
        const unsigned key = letterOf(row);
        labels[next[key]++] = SwitchLabel{&row, row.switchPort.empty() ? '\0' : row.switchPort[0], port, static_cast<char>(key)};
    }
    // A port with no number (0) goes after every number.
    const auto before = [](const SwitchLabel& a, const SwitchLabel& b) {
        if (a.key != b.key) return static_cast<unsigned char>(a.key) < static_cast<unsigned char>(b.key);
        return static_cast<unsigned>(a.port - 1) < static_cast<unsigned>(b.port - 1);
    };
    for (std::size_t i = 1; i < labels.size(); ++i) {
        const SwitchLabel label = labels[i];
        std::size_t j = i;
        for (; j > 0 && before(label, labels[j - 1]); --j) labels[j] = labels[j - 1];
        labels[j] = label;
    }
}

std::string switchPortText(const SwitchLabel& label) {
    return label.port > 0 ? std::to_string(label.port)
                          : std::string(label.row->switchPort.substr(std::min<std::size_t>(2, label.row->switchPort.size())));
}
