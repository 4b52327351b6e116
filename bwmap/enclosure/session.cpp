// An enclosure driven through the form's own commands, and the port map it then shows.
#include "enclosure/session.h"

#include <algorithm>
#include <cctype>

#include "commands.h"
#include "base/encoding.h"
#include "input/picks.h"
#include "population.h"
#include "rules.h"
#include "short_text.h"
#include "enclosure/suggest.h"

namespace {

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string bayName(int bay) { return "bay " + std::to_string(bay); }

int bayId(int bay) { return bay <= ids::kColumns ? ids::upperBay(bay - 1) : ids::lowerBay(bay - 9); }

}  // namespace

int findEntry(const std::vector<std::string>& entries, const std::string& text) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameShortText(entries[i], text)) return static_cast<int>(i);
    const std::string wanted = inputToUtf8(text);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (catalogueToUtf8(entries[i]) == wanted) return static_cast<int>(i);
    return -1;
}

int EnclosureSession::entryFor(int bay, const std::vector<std::string>& entries, const std::string& text) {
    std::array<FoundEntry, kFoundPerBay>& found = found_[static_cast<std::size_t>(bay - 1)];
    // Type names of one family differ mostly at their end: the last byte is tried first.
    for (const FoundEntry& entry : found)
        if (entry.index >= 0 && entry.text.size() == text.size() && (text.empty() || entry.text.back() == text.back()) &&
            sameShortText(entry.text, text))
            return entry.index;
    const int index = findEntry(entries, text);
    if (index >= 0) {
        FoundEntry& slot = found[nextFound_[static_cast<std::size_t>(bay - 1)]++ % kFoundPerBay];
        slot.text = text;
        slot.index = index;
    }
    return index;
}

EnclosureSession::EnclosureSession(const BladeCatalogue& catalogue) : catalogue_(catalogue) {
    populateForm(form_, catalogue_);
    form_.keepColumnRecords(true);
    settleUnchangedColumns(form_, catalogue_);  // so a fresh enclosure's first pass skips its empty columns
    form_.keep();
}

void EnclosureSession::choose(int id, int index) {
    form_.setSelection(id, index);
    int quitState = QUIT_RUNNING;
    runCommand(form_, catalogue_, id, kSelectionChanged, quitState);
}

void EnclosureSession::start(int enclosureType, int defaultOs) {
    form_.reset();
    picks_.clear();
    picked_.fill(false);
    pickCount_ = 0;
    if ((enclosureType == ENCLOSURE_STANDARD || enclosureType == ENCLOSURE_ENHANCED) &&
        enclosureType != form_.getSelection(IDC_ENCLOSURE_TYPE))
        choose(IDC_ENCLOSURE_TYPE, enclosureType);
    if ((defaultOs == OS_WINDOWS || defaultOs == OS_LINUX) && defaultOs != form_.getSelection(IDC_DEFAULT_OS))
        choose(IDC_DEFAULT_OS, defaultOs);
}

std::string EnclosureSession::typeText(int bayId) const { return form_.selectedText(bayId); }

EnclosureSession::Cover EnclosureSession::coverOf(int column, bool lowerBay) const {
    for (int c = column; c >= 0; --c) {
        if (c == column && !lowerBay) continue;
        const std::string text = typeText(ids::upperBay(c));
        if (text.empty()) continue;
        const int columns = spanColumns(catalogue_.row(findByName(catalogue_, text.c_str(), 0)));
        if (columns > 0 && c + columns - 1 >= column) return {c + 1, true, text};
    }
    const std::string upper = typeText(ids::upperBay(column));
    if (lowerBay && !upper.empty() && !isHalfHeight(catalogue_.row(findByName(catalogue_, upper.c_str(), 1))))
        return {column + 1, false, upper};
    return {};
}

// What the form shows about why a selector is disabled: a covering blade, an OS selector's
// blades. Empty when the form shows no reason (a bay left disabled by an undone placement).
std::string EnclosureSession::whyDisabled(int id) const {
    const bool osSelector = ids::isColumnOs(id);
    const int column = osSelector ? ids::columnOfOs(id) : ids::columnOfBay(id);
    const Cover cover = coverOf(column, ids::isLowerBay(id));
    if (cover.spanning) return "covered by the spanning blade in " + bayName(cover.bay) + " (" + cover.type + ")";
    if (cover.bay > 0) return bayName(cover.bay) + " holds " + cover.type + ", a full-height blade";
    if (osSelector) {
        const std::string upper = typeText(ids::upperBay(column));
        const std::string lower = typeText(ids::lowerBay(column));
        if (upper.empty() && lower.empty()) return "column " + std::to_string(column + 1) + " holds no blade";
        const std::string& shown = lower.empty() ? upper : lower;
        const int bay = lower.empty() ? column + 1 : column + 9;
        return shown + " in " + bayName(bay) + " has the same NIC order under every OS";
    }
    return {};
}

bool EnclosureSession::sameOrderUnderEveryOs(int column) const {
    if (column < 1 || column > ids::kColumns) return false;
    const Control& os = form_.control(ids::columnOs(column - 1));
    if (!os.visible || os.enabled || coverOf(column - 1, false).bay != 0) return false;
    bool blade = false;
    for (const int bay : {ids::upperBay(column - 1), ids::lowerBay(column - 1)}) {
        const std::string text = typeText(bay);
        if (text.empty()) continue;
        if (catalogue_.row(findByName(catalogue_, text.c_str(), 1)).flags & OS_DEPENDENT_ORDER) return false;
        blade = true;
    }
    return blade;
}

PickResult EnclosureSession::pick(const Pick& pick) { return this->pick(pick.kind, pick.number, pick.text); }

PickResult EnclosureSession::pick(Pick::Kind kind, int number, const std::string& text) {
    int id;
    if (kind == Pick::BAY) id = number <= ids::kColumns ? ids::upperBay(number - 1) : ids::lowerBay(number - 9);
    else id = ids::columnOs(number - 1);
    // The selector's name, for the messages only.
    const auto what = [kind, number]() -> std::string {
        if (kind == Pick::BAY) return bayName(number);
        return "the OS selector of column " + std::to_string(number);
    };
    const Control& control = form_.control(id);
    if (!control.visible)
        return {PickResult::INPUT_ERROR, what() + " is not shown: the lower row is not used in a Standard enclosure"};
    if (!control.enabled) {
        const std::string why = whyDisabled(id);
        return {PickResult::INPUT_ERROR, what() + " is disabled" + (why.empty() ? "" : ": " + why)};
    }

    int index = -1;
    if (kind == Pick::BAY) {
        index = entryFor(number, control.entries, text);
    } else {
        for (std::size_t i = 0; i < control.entries.size() && index < 0; ++i)
            if (equalIgnoringCase(control.entries[i], text)) index = static_cast<int>(i);
    }
    if (index < 0)
        return {PickResult::INPUT_ERROR,
                what() + " does not offer \"" + printable(text) + "\"" + didYouMean(control.entries, text)};

    const std::size_t order = pickCount_++;
    bool& picked = picked_[kind == Pick::BAY ? static_cast<std::size_t>(number - 1)
                                             : static_cast<std::size_t>(2 * ids::kColumns + number - 1)];
    if (picked)
        picks_.erase(std::remove_if(picks_.begin(), picks_.end(), [id](const LastPick& last) { return last.id == id; }),
                     picks_.end());
    picked = true;
    LastPick& last = picks_.emplace_back();  // its fields stored in place, not through a copy
    last.id = id;
    last.entry = static_cast<std::size_t>(index);
    last.order = order;
    choose(id, index);
    const Control& message = form_.control(IDC_MESSAGE);
    if (message.visible && !message.text.empty()) return {PickResult::REFUSED, message.text};
    return {};
}

// A bay shows its pick's entry ("empty" holds wherever the bay holds no blade); a column OS
// selector shows it and is enabled.
bool EnclosureSession::holds(const LastPick& last) const {
    const Control& control = form_.control(last.id);
    const std::string& entry = control.entries[last.entry];
    static const std::string kNothing;
    const std::string& selected =
        control.selection >= 0 ? control.entries[static_cast<std::size_t>(control.selection)] : kNothing;
    const bool shows = control.selection == static_cast<int>(last.entry) || sameShortText(selected, entry);
    if (ids::isColumnOs(last.id)) return control.enabled && shows;
    if (sameAsName(entry, catalogue_.row(0).name)) return control.selection <= 0;
    return shows;
}

// Why a selector no longer shows its pick, from what the form shows now.
std::string EnclosureSession::whatCleared(const LastPick& last) const {
    const bool osSelector = ids::isColumnOs(last.id);
    const int column = osSelector ? ids::columnOfOs(last.id) : ids::columnOfBay(last.id);
    const Control& control = form_.control(last.id);
    if (osSelector && control.enabled) {
        // A type placed after the pick takes the default OS.
        int placedIn = 0;
        for (const LastPick& later : picks_)
            if (later.order > last.order && !ids::isColumnOs(later.id) && ids::columnOfBay(later.id) == column)
                placedIn = ids::isLowerBay(later.id) ? column + 9 : column + 1;
        return "was reset to " + form_.selectedText(last.id) +
               (placedIn > 0 ? " when " + typeText(bayId(placedIn)) + " was placed in " + bayName(placedIn) : "");
    }
    const Cover cover = coverOf(column, !osSelector && ids::isLowerBay(last.id));
    if (cover.bay > 0) {
        const int columns = spanColumns(catalogue_.row(findByName(catalogue_, cover.type.c_str(), 0)));
        return "was cleared by " + cover.type + " in " + bayName(cover.bay) +
               (cover.spanning ? ", a blade spanning " + std::to_string(columns) + " columns" : ", a full-height blade");
    }
    if (osSelector) return "was cleared: " + whyDisabled(last.id);
    const std::string shown = form_.selectedText(last.id);
    if (!shown.empty()) return "was replaced by " + shown;
    return std::string("was cleared by the window without a message") + (control.enabled ? "" : "; the bay is disabled");
}

std::string EnclosureSession::unheldPick() const {
    for (const LastPick& last : picks_) {
        if (holds(last)) continue;
        const std::string what = ids::isColumnOs(last.id)
                                     ? "the OS selector of column " + std::to_string(ids::columnOfOs(last.id) + 1)
                                     : bayName(ids::isLowerBay(last.id) ? ids::columnOfBay(last.id) + 9
                                                                        : ids::columnOfBay(last.id) + 1);
        return what + ": " + entryText(last) + " " + whatCleared(last);
    }
    return {};
}

const std::vector<PortMapRow>& EnclosureSession::portMap() {
    ShownModel shown(form_);
    readPortMap(form_, shown, catalogue_, portMap_);
    return portMap_;
}

// An empty bay that a blade covers is drawn as part of it; a bay that holds a blade is its own.
EnclosureView EnclosureSession::view() {
    EnclosureView view;
    view.enhanced = form_.enclosureType == ENCLOSURE_ENHANCED;
    for (int bay = 1; bay <= EnclosureView::kBays; ++bay) {
        const bool lower = bay > ids::kColumns;
        const int column = (bay - 1) % ids::kColumns;
        const int id = lower ? ids::lowerBay(column) : ids::upperBay(column);
        const int captionId = lower ? ids::lowerCaption(column) : ids::upperCaption(column);
        EnclosureView::Bay& shown = view.bays[bay - 1];
        shown.caption = form_.control(captionId).text;
        shown.captionColour = staticColour(form_, catalogue_, captionId).value_or(0);
        shown.shown = form_.control(id).visible;
        shown.type = typeText(id);
        // Covered only as the form shows it: cleared and disabled. A pick elsewhere in the group
        // may have freed the bay again while the spanning blade stays.
        const Control& selector = form_.control(id);
        if (shown.type.empty() && !selector.enabled && selector.selection < 0)
            shown.coveredBy = coverOf(column, lower).bay;
    }
    for (int c = 0; c < ids::kColumns; ++c) {
        const Control& os = form_.control(ids::columnOs(c));
        if (os.enabled) view.columnOs[c] = form_.selectedText(os.id);
        for (int r = 0; r < ids::kLabelRows; ++r) {
            const Control& label = form_.control(ids::label(r, c));
            EnclosureView::Label& shown = view.labels[r][c];
            shown.shown = label.visible;
            if (!shown.shown) continue;
            shown.text = label.text;
            shown.colour = staticColour(form_, catalogue_, label.id).value_or(0);
        }
    }
    return view;
}

std::string EnclosureSession::enclosureText() const { return form_.selectedText(IDC_ENCLOSURE_TYPE); }
std::string EnclosureSession::defaultOsText() const { return form_.selectedText(IDC_DEFAULT_OS); }

bool EnclosureSession::holdsBlade(int bay) const {
    if (bay < 1 || bay > 2 * ids::kColumns) return false;
    const int id = bay <= ids::kColumns ? ids::upperBay(bay - 1) : ids::lowerBay(bay - 9);
    return form_.control(id).selection > 0;
}
