// A port map's labels as the switch side sees them: by switch, then port.
#pragma once

#include <string>
#include <vector>

#include "port_map.h"

// One label seen from its switch.
struct SwitchLabel {
    const PortMapRow* row;
    char letter;  // the switch port's first byte
    int port;     // 0 when the label has no port number ("A-?")
    char key = 0;  // switchKey(letter): the switch the label is on
};
// The labels of `rows` ordered by switch (switchKey, as unsigned bytes), then port number; labels without a number last, and
// labels on one port in the order of `rows`.
std::vector<SwitchLabel> labelsBySwitch(PortMapRows rows);
// The same into `labels`, whose storage is reused.
void labelsBySwitch(PortMapRows rows, std::vector<SwitchLabel>& labels);
// The label's port as the switch view writes it: the number, else the text after "A-".
std::string switchPortText(const SwitchLabel& label);
