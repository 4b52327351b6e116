// The change ticket's rows: two mapped enclosures compared port by port and bay by bay.
#include "views/plan_diff.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "enclosure/switch_order.h"

namespace {

PortUse useOf(const MappedEnclosure& e, const PortMapRow& row) {
    PortUse use;
    use.bay = row.bay;
    use.type = row.type;
    if (e.names) use.host = e.names->host(row.bay);
    use.os = row.os;
    use.nic = row.nic;
    use.switchPort = row.switchPort;
    return use;
}

// The fields in which two uses differ, as the ticket names them.
std::string difference(const PortUse& a, const PortUse& b, bool withPort) {
    std::string what;
    const auto note = [&](bool differs, const char* field) {
        if (!differs) return;
        if (!what.empty()) what += ", ";
        what += field;
    };
    note(withPort && a.switchPort != b.switchPort, "port");
    note(a.bay != b.bay, "bay");
    note(a.type != b.type, "type");
    note(a.host != b.host, "host");
    note(a.os != b.os, "OS");
    note(a.nic != b.nic, "NIC");
    return what;
}

// The switch's host name, else its letter, as the label spells it.
std::string_view switchNameOf(const MappedEnclosure& e, const SwitchLabel& label) {
    if (e.names) {
        const std::string& name = e.names->switchHost(label.letter);
        if (!name.empty()) return name;
    }
    return label.row->switchPort.substr(0, 1);
}

// Labels on one port compare equal: the switch, then the number (none last).
int comparePlace(const SwitchLabel& a, const SwitchLabel& b) {
    const auto key = [](const SwitchLabel& l) {
        return std::make_pair(static_cast<unsigned char>(l.key), l.port == 0 ? INT_MAX : l.port);
    };
    return key(a) < key(b) ? -1 : key(b) < key(a) ? 1 : 0;
}

void bySwitch(const MappedEnclosure* before, const MappedEnclosure* after, bool all, std::vector<PortChange>& rows) {
    std::vector<SwitchLabel> old, now;
    if (before) labelsBySwitch(before->rows, old);
    if (after) labelsBySwitch(after->rows, now);
    // A port that one side alone uses: `e` is that side.
    const auto oneSide = [&](PortChange::Kind kind, const MappedEnclosure& e, const SwitchLabel& l) {
        PortChange row;
        row.kind = kind;
        row.switchName = switchNameOf(e, l);
        row.port = switchPortText(l);
        (kind == PortChange::REMOVED ? row.before : row.after) = useOf(e, *l.row);
        rows.push_back(std::move(row));
    };
    const auto removed = [&](const SwitchLabel& l) { oneSide(PortChange::REMOVED, *before, l); };
    const auto added = [&](const SwitchLabel& l) { oneSide(PortChange::ADDED, *after, l); };
    std::size_t i = 0, j = 0;
    while (i < old.size() || j < now.size()) {
        const int order = i == old.size() ? 1 : j == now.size() ? -1 : comparePlace(old[i], now[j]);
        if (order < 0) {
            removed(old[i++]);
            continue;
        }
        if (order > 0) {
            added(now[j++]);
            continue;
        }
        std::size_t oldEnd = i, nowEnd = j;
        while (oldEnd < old.size() && comparePlace(old[oldEnd], old[i]) == 0) ++oldEnd;
        while (nowEnd < now.size() && comparePlace(now[nowEnd], now[j]) == 0) ++nowEnd;
        for (; i < oldEnd && j < nowEnd; ++i, ++j) {
            PortChange row;
            row.before = useOf(*before, *old[i].row);
            row.after = useOf(*after, *now[j].row);
            row.what = difference(row.before, row.after, false);
            row.kind = row.what.empty() ? PortChange::SAME : PortChange::CHANGED;
            if (row.kind == PortChange::SAME && !all) continue;
            row.switchName = switchNameOf(*after, now[j]);
            row.port = switchPortText(now[j]);
            rows.push_back(std::move(row));
        }
        for (; i < oldEnd; ++i) removed(old[i]);
        for (; j < nowEnd; ++j) added(now[j]);
    }
}

void byBay(const MappedEnclosure* before, const MappedEnclosure* after, bool all, std::vector<PortChange>& rows) {
    const std::size_t oldCount = before ? before->rows.size() : 0;
    std::vector<bool> paired(oldCount, false);
    if (after) {
        for (const PortMapRow& now : after->rows) {
            PortChange row;
            row.after = useOf(*after, now);
            std::size_t match = oldCount;
            for (std::size_t i = 0; i < oldCount && match == oldCount; ++i) {
                const PortMapRow& old = before->rows[i];
                if (!paired[i] && old.bay == now.bay && old.nic == now.nic) match = i;
            }
            if (match == oldCount) {
                row.kind = PortChange::ADDED;
            } else {
                paired[match] = true;
                row.before = useOf(*before, before->rows[match]);
                row.kind = row.before.switchPort == row.after.switchPort ? PortChange::SAME : PortChange::CHANGED;
                row.what = difference(row.before, row.after, true);
                if (row.kind == PortChange::SAME && !all) continue;
            }
            rows.push_back(std::move(row));
        }
    }
    for (std::size_t i = 0; i < oldCount; ++i) {
        if (paired[i]) continue;
        PortChange row;
        row.kind = PortChange::REMOVED;
        row.before = useOf(*before, before->rows[i]);
        rows.push_back(std::move(row));
    }
}

// Each bay's blade: the type of its first label, and its host name.
void bladesOf(const MappedEnclosure* e, BladeAt (&blades)[EnclosureNames::kBays + 1]) {
    if (!e) return;
    for (const PortMapRow& row : e->rows)
        if (row.bay >= 1 && row.bay <= EnclosureNames::kBays && blades[row.bay].type.empty())
            blades[row.bay].type = std::string(row.type);
    if (e->names)
        for (int bay = 1; bay <= EnclosureNames::kBays; ++bay)
            if (!blades[bay].type.empty()) blades[bay].host = e->names->host(bay);
}

}  // namespace

const char* changeWord(PortChange::Kind kind) {
    switch (kind) {
    case PortChange::ADDED: return "added";
    case PortChange::REMOVED: return "removed";
    case PortChange::CHANGED: return "changed";
    case PortChange::SAME: break;
    }
    return "same";
}

const char* factWord(BladeFact::Kind kind) {
    switch (kind) {
    case BladeFact::MOVED: return "moved";
    case BladeFact::REPLACED: return "replaced";
    case BladeFact::RENAMED: return "renamed";
    case BladeFact::ADDED: return "added";
    case BladeFact::REMOVED: break;
    }
    return "removed";
}

void comparePorts(const MappedEnclosure* before, const MappedEnclosure* after, bool bySwitchOrder, bool all,
                  std::vector<PortChange>& rows) {
    if (bySwitchOrder) bySwitch(before, after, all, rows);
    else byBay(before, after, all, rows);
}

void changedBays(const MappedEnclosure* before, const MappedEnclosure* after, std::size_t pair,
                 std::vector<BayChange>& bays) {
    BladeAt old[EnclosureNames::kBays + 1], now[EnclosureNames::kBays + 1];
    bladesOf(before, old);
    bladesOf(after, now);
    for (int bay = 1; bay <= EnclosureNames::kBays; ++bay)
        if (old[bay].type != now[bay].type || old[bay].host != now[bay].host)
            bays.push_back({pair, bay, std::move(old[bay]), std::move(now[bay])});
}

std::vector<BladeFact> bladeFacts(const std::vector<BayChange>& bays,
                                  const std::function<HostPlace(const std::string& host)>& before) {
    // First where each new host name came from: a bay whose old host stands elsewhere now is
    // not a removal.
    std::vector<HostPlace> from(bays.size());
    std::vector<std::pair<std::size_t, int>> left;
    for (std::size_t i = 0; i < bays.size(); ++i) {
        const BayChange& b = bays[i];
        if (b.after.type.empty() || b.after.host.empty()) continue;
        const HostPlace place = before(b.after.host);
        if (place.pair == HostPlace::kNone || (place.pair == b.pair && place.bay == b.bay)) continue;
        from[i] = place;
        left.emplace_back(place.pair, place.bay);
    }
    std::sort(left.begin(), left.end());
    const auto find = [&](std::size_t pair, int bay) {
        const auto at = std::lower_bound(bays.begin(), bays.end(), std::make_pair(pair, bay),
                                         [](const BayChange& b, const std::pair<std::size_t, int>& key) {
                                             return std::make_pair(b.pair, b.bay) < key;
                                         });
        return at != bays.end() && at->pair == pair && at->bay == bay ? &*at : nullptr;
    };
    std::vector<BladeFact> facts;
    for (std::size_t i = 0; i < bays.size(); ++i) {
        const BayChange& b = bays[i];
        const bool hadBlade = !b.before.type.empty(), hasBlade = !b.after.type.empty();
        const bool movedIn = from[i].pair != HostPlace::kNone;
        const bool oldGone = hadBlade && std::binary_search(left.begin(), left.end(), std::make_pair(b.pair, b.bay));
        if (movedIn) {
            BladeFact fact{BladeFact::MOVED, from[i].pair, b.pair, from[i].bay, b.bay, {}, b.after};
            const BayChange* origin = find(from[i].pair, from[i].bay);
            fact.before = origin ? origin->before : BladeAt{b.after.type, b.after.host};
            facts.push_back(std::move(fact));
        }
        const bool oldStays = hadBlade && !oldGone;
        const bool newFresh = hasBlade && !movedIn;
        if (oldStays && newFresh) {
            const BladeFact::Kind kind = b.before.type != b.after.type ? BladeFact::REPLACED : BladeFact::RENAMED;
            facts.push_back({kind, b.pair, b.pair, b.bay, b.bay, b.before, b.after});
        } else if (oldStays) {
            facts.push_back({BladeFact::REMOVED, b.pair, b.pair, b.bay, 0, b.before, {}});
        } else if (newFresh) {
            facts.push_back({BladeFact::ADDED, b.pair, b.pair, 0, b.bay, {}, b.after});
        }
    }
    return facts;
}
