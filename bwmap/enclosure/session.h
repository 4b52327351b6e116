// One enclosure driven as a user drives the window: the in-memory form, the same commands.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue.h"
#include "enclosure/enclosure_view.h"
#include "form_model.h"
#include "port_map.h"
#include "input/picks.h"

struct PickResult {
    enum Status { DONE, INPUT_ERROR, REFUSED } status = DONE;
    std::string message;  // the error, or the refusal sentence of the message line
};

// Looks up a selector entry for a text given by the user: the first entry equal byte for byte,
// else the first whose text reads the same once both are turned into UTF-8 (a UTF-8 plans file
// naming a type of an 8-bit catalogue). -1 when none matches.
int findEntry(const std::vector<std::string>& entries, const std::string& text);

class EnclosureSession {
public:
    // Creates the start-up form once; every enclosure starts from it again.
    explicit EnclosureSession(const BladeCatalogue& catalogue);

    // A fresh form, then the enclosure type and the default OS chosen where they differ from
    // the start-up state (OS_NONE or -1 keep it).
    void start(int enclosureType, int defaultOs);
    PickResult pick(const Pick& pick);
    // The same pick from its parts: a plans row's cell is taken where it stands.
    PickResult pick(Pick::Kind kind, int number, const std::string& text);
    // After the last pick: a refusal sentence for the first selector a pick named that no longer
    // shows the entry of its last pick ("bay 9: Fell was cleared by Tarn in bay 1, ..."); empty
    // when every pick holds.
    std::string unheldPick() const;

    // The port map the form shows now: the session's rows, viewing the form's texts, valid until
    // the next call or the next change of the form.
    const std::vector<PortMapRow>& portMap();
    // What the window shows: bays, column OS selectors, labels and their colours.
    EnclosureView view();
    std::string enclosureText() const;  // "Standard" or "Enhanced"
    std::string defaultOsText() const;
    // Whether the OS selector of column 1-8 is disabled only because the blade it shows has the
    // same NIC order under every OS: a plans row's OS cell there changes nothing the window
    // shows, so it is taken without a pick. Any other disabled selector stays an error.
    bool sameOrderUnderEveryOs(int column) const;
    // Whether bay 1-16 has a blade selected (an entry other than "empty").
    bool holdsBlade(int bay) const;
    const FormModel& form() const { return form_; }

private:
    // The upper bay whose blade covers a bay or OS selector of this column: a spanning blade to
    // its left (or above, for a lower bay), a full-height blade above a lower bay.
    struct Cover {
        int bay = 0;  // 1-8; 0 when no blade covers it
        bool spanning = false;
        std::string type;
    };
    Cover coverOf(int column, bool lowerBay) const;
    void choose(int id, int index);
    std::string whyDisabled(int id) const;
    std::string typeText(int bayId) const;

    // A selector's last pick: the entry it chose and when (picks counted from 0). A selector's
    // entries are fixed once the form is populated, so the index names the entry.
    struct LastPick {
        int id = 0;
        std::size_t entry = 0;
        std::size_t order = 0;
    };
    const std::string& entryText(const LastPick& last) const {
        return form_.control(last.id).entries[last.entry];
    }
    bool holds(const LastPick& last) const;
    std::string whatCleared(const LastPick& last) const;

    // The entry a bay's pick names: findEntry's answer, remembered for the last few texts of each
    // bay, since a column of an estate mostly names the same few types. The form's entries are
    // fixed once it is populated, so an answer never goes stale.
    int entryFor(int bay, const std::vector<std::string>& entries, const std::string& text);
    struct FoundEntry {
        std::string text;
        int index = -1;
    };
    static constexpr std::size_t kFoundPerBay = 4;

    const BladeCatalogue& catalogue_;
    FormModel form_;
    std::array<std::array<FoundEntry, kFoundPerBay>, 2 * ids::kColumns> found_;
    std::array<std::size_t, 2 * ids::kColumns> nextFound_{};  // the slot each bay fills next
    std::vector<LastPick> picks_;  // one per selector, in pick order of their last picks
    std::array<bool, 3 * ids::kColumns> picked_{};  // bays 1-16, then column OS selectors 1-8: in picks_
    std::size_t pickCount_ = 0;
    std::vector<PortMapRow> portMap_;  // kept from one enclosure to the next for its storage
};
