// The enclosure form's controls, written down from the control table and the Win32 styles.
#include "expected_form.h"

namespace {

constexpr DWORD kCombo = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kLine = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE;
constexpr DWORD kCaption = WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kText = WS_CHILD | WS_VISIBLE | SS_CENTER;

short colX(int c) { return static_cast<short>(15 + 72 * c); }

}  // namespace

std::vector<ExpectedControl> expectedControls() {
    const short bayList[8] = {154, 153, 153, 155, 154, 155, 153, 154};
    const short osList[8] = {133, 135, 134, 134, 135, 135, 133, 135};
    std::vector<ExpectedControl> out;
    out.push_back({2, "Button", "Cancel", 345, 269, 50, 14, kButton, 0});
    out.push_back({1082, "Static",
                   "Select enclosure contents to display the switch port to blade NIC operating "
                   "system (OS) enumeration order.",
                   6, 7, 591, 10, kLine, 0});
    for (int c = 0; c < 8; ++c)
        out.push_back({1000 + c, "ComboBox", "", colX(c), 59, 70, bayList[c],
                       kCombo | (c == 0 ? WS_GROUP : 0u), 0});
    for (int c = 0; c < 8; ++c)
        out.push_back({1087 + c, "ComboBox", "", colX(c), 75, 70, osList[c],
                       kCombo | WS_DISABLED | (c == 0 ? WS_GROUP : 0u), 0});
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 8; ++c) {
            int id = 1017 + 8 * r + c;
            short y = static_cast<short>(r < 5 ? 93 + 15 * r : (c == 0 ? 168 : 169));
            out.push_back({id, "Static", id == 1017 ? "A-16,  NIC A" : "switch A, port 1", colX(c), y,
                           70, 12, kLine & ~WS_VISIBLE, WS_EX_STATICEDGE});
        }
    for (int c = 0; c < 8; ++c)
        out.push_back({1101 + c, "Static", "Bay " + std::to_string(c + 1), colX(c), 45, 70, 12, kLine, 0});
    out.push_back({1083, "ComboBox", "", 375, 23, 70, 135, kCombo, 0});
    out.push_back({1084, "Static", "Enclosure type", 303, 23, 70, 12, kCaption, 0});
    for (int c = 0; c < 8; ++c)
        out.push_back({1008 + c, "ComboBox", "", colX(c), 184, 70, bayList[c],
                       kCombo | (c == 0 ? WS_GROUP : 0u), 0});
    for (int c = 0; c < 8; ++c)
        out.push_back({1109 + c, "Static", "Bay " + std::to_string(c + 9), colX(c), 198, 70, 12, kLine, 0});
    out.push_back({1095, "Static", "Static", 6, 252, 591, 10, (kLine & ~WS_VISIBLE) | WS_GROUP, 0});
    out.push_back({1096, "Button", "Fill With Same", 276, 269, 50, 14, kButton, 0});
    out.push_back({1097, "Button", "Reset", 207, 269, 50, 14, kButton, 0});
    out.push_back({1085, "Static",
                   "Switch (or patch panel) port to blade NIC enumeration is displayed above.  "
                   "For example, \"A-2, NIC B\" would signify that switch A, port 2 maps to the "
                   "second NIC (\"NIC B\") enumerated by the OS.",
                   121, 220, 360, 17, kText, 0});
    out.push_back({1118, "ComboBox", "", 196, 23, 70, 124, kCombo | WS_GROUP, 0});
    out.push_back({1119, "Static", "Default OS", 124, 23, 70, 12, kCaption, 0});
    out.push_back({-1, "Button", "", 6, 37, 591, 179, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0});
    out.push_back({1120, "Static",
                   " Alphabetic ordering is displayed since OS naming differs and may use 0- or "
                   "1-based enumeration schemes.",
                   121, 236, 360, 10, kText, 0});
    return out;
}

std::vector<std::string> upperBayEntries(int column) {
    std::vector<std::string> out = {"empty", "Tarn", "Tarn +NIC upgrade", "Tarn-M2", "Tarn-M3", "Fell"};
    if (column == 0 || column == 4) out.push_back("Crag");
    return out;
}

std::vector<std::string> lowerBayEntries() { return {"empty", "Fell"}; }
