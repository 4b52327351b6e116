// Win32 realisation of the form operations on the dialog created from template 101.
//
// Under Wine nearly every window call is a round trip to the server, so the binding spares
// what it can without changing what the form does:
// - control handles are looked up once per dialog (GetDlgItem on first use);
// - ShowWindow and EnableWindow are called only when the control's own style bits differ
//   from the wanted state (reading the style of one of our own windows is a local read);
// - inside a command (beginBatch/endBatch) visibility and enabled changes are collected and
//   applied once at the end of the outermost batch, so a label that the recompute hides and
//   shows again is never touched and cannot flicker; the logic never reads these two states
//   back;
// - a static's text is sent only when it differs from the text this binding last gave it.
// Selections and entry texts always go to the control itself.
#include "dialog_form.h"

void DialogForm::attach(HWND dialog) {
    dialog_ = dialog;
    for (Slot& s : slots_) s = Slot{};
    pending_.clear();
    batchDepth_ = 0;
    longestEntry_ = 0;
    calls_ = 0;
    enclosureType = ENCLOSURE_ENHANCED;
}

DialogForm::Slot* DialogForm::slot(int id) {
    if (id < kFirstId || id > kLastId) return nullptr;
    return &slots_[static_cast<std::size_t>(id - kFirstId)];
}

HWND DialogForm::control(int id) {
    Slot* s = slot(id);
    if (s && s->handle) return s->handle;
    ++calls_;
    HWND handle = GetDlgItem(dialog_, id);
    if (s) s->handle = handle;
    return handle;
}

LRESULT DialogForm::send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = control(id);
    ++calls_;
    return SendMessageA(handle, message, wParam, lParam);
}

int DialogForm::getSelection(int id) {
    return static_cast<int>(send(id, CB_GETCURSEL, 0, 0));
}

std::optional<std::string> DialogForm::getEntryText(int id, int index) {
    if (index < 0) return std::nullopt;
    // Every entry came through addEntry, so while none is longer than the local buffer one
    // CB_GETLBTEXT suffices; otherwise the length is asked first.
    if (longestEntry_ < kEntryBuffer) {
        char buffer[kEntryBuffer];
        LRESULT length = send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        if (length == CB_ERR || length < 0 || static_cast<std::size_t>(length) >= kEntryBuffer)
            return std::nullopt;
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    LRESULT length = send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length < 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    length = send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    if (length == CB_ERR || length < 0 || static_cast<std::size_t>(length) >= text.size())
        return std::nullopt;
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void DialogForm::setSelection(int id, int index) {
    send(id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogForm::addEntry(int id, const std::string& text) {
    if (text.size() > longestEntry_) longestEntry_ = text.size();
    ++calls_;
    SendDlgItemMessageA(dialog_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogForm::setEnabled(int id, bool on) {
    Slot* s = slot(id);
    if (batchDepth_ > 0 && s) {
        if (s->wantVisible < 0 && s->wantEnabled < 0) pending_.push_back(id);
        s->wantEnabled = on ? 1 : 0;
        return;
    }
    applyEnabled(id, on);
}

void DialogForm::setVisible(int id, bool on) {
    Slot* s = slot(id);
    if (batchDepth_ > 0 && s) {
        if (s->wantVisible < 0 && s->wantEnabled < 0) pending_.push_back(id);
        s->wantVisible = on ? 1 : 0;
        return;
    }
    applyVisible(id, on);
}

void DialogForm::applyEnabled(int id, bool on) {
    HWND handle = control(id);
    ++calls_;
    bool enabled = (GetWindowLongA(handle, GWL_STYLE) & WS_DISABLED) == 0;
    if (enabled == on) return;
    ++calls_;
    EnableWindow(handle, on ? TRUE : FALSE);
}

void DialogForm::applyVisible(int id, bool on) {
    HWND handle = control(id);
    ++calls_;
    // The control's own flag, not IsWindowVisible: the dialog itself is hidden while it is
    // being populated.
    bool visible = (GetWindowLongA(handle, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible == on) return;
    ++calls_;
    ShowWindow(handle, on ? SW_SHOW : SW_HIDE);
}

void DialogForm::setText(int id, std::string_view view) {
    const std::string text(view);
    Slot* s = slot(id);
    if (s && s->textKnown && s->text == text) return;
    send(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (s) {
        s->textKnown = true;
        s->text = text;
    }
}

void DialogForm::beginBatch() { ++batchDepth_; }

// Applying a change can send commands back into the dialog at once: disabling the selector that
// has the keyboard focus makes it report the lost focus before EnableWindow returns. Such a
// command may open and end a batch of its own, so the pending list is taken out before it is
// walked, and each slot's wants are cleared before they are applied.
void DialogForm::endBatch() {
    if (batchDepth_ > 0 && --batchDepth_ > 0) return;
    std::vector<int> applying;
    applying.swap(pending_);
    for (int id : applying) {
        Slot* s = slot(id);
        const std::int8_t enabled = s->wantEnabled;
        const std::int8_t visible = s->wantVisible;
        s->wantEnabled = -1;
        s->wantVisible = -1;
        if (enabled >= 0) applyEnabled(id, enabled != 0);
        if (visible >= 0) applyVisible(id, visible != 0);
    }
}
