// The enclosure form bound to a Win32 dialog: each form operation becomes a control call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "form.h"

class DialogForm : public EnclosureForm {
public:
    // Binds to a freshly created dialog and forgets everything known about the previous one.
    void attach(HWND dialog);
    HWND window() const { return dialog_; }

    int getSelection(int id) override;
    std::optional<std::string> getEntryText(int id, int index) override;
    void setSelection(int id, int index) override;
    void addEntry(int id, const std::string& text) override;
    void setEnabled(int id, bool on) override;
    void setVisible(int id, bool on) override;
    void setText(int id, std::string_view text) override;

    // Between these two calls visibility and enabled changes are collected and applied at
    // endBatch, to the controls whose state then differs from what they show. Batches nest:
    // the outermost endBatch applies. A batch opened while one is being applied (a command
    // that a control sends back at once) collects and applies its own changes.
    void beginBatch();
    void endBatch();

    // Number of Win32 calls made through this binding since it was attached.
    std::uint64_t win32Calls() const { return calls_; }

private:
    static constexpr int kFirstId = IDC_CANCEL;
    static constexpr int kLastId = IDC_ORDERING_NOTE;
    static constexpr int kSlots = kLastId - kFirstId + 1;
    static constexpr std::size_t kEntryBuffer = 64;  // texts this long are read in one call

    struct Slot {
        HWND handle = nullptr;
        std::int8_t wantVisible = -1;  // pending within a batch; -1 none
        std::int8_t wantEnabled = -1;
        bool textKnown = false;        // `text` is what the control shows
        std::string text;
    };

    Slot* slot(int id);
    HWND control(int id);
    LRESULT send(int id, UINT message, WPARAM wParam, LPARAM lParam);
    void applyVisible(int id, bool on);
    void applyEnabled(int id, bool on);

    HWND dialog_ = nullptr;
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
    std::vector<int> pending_;          // ids with a pending change, in order of first change
    int batchDepth_ = 0;               // open batches
    std::size_t longestEntry_ = 0;      // longest text given to addEntry
    std::uint64_t calls_ = 0;
};
