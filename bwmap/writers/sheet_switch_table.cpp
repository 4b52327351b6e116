// The switch tables beside an enclosure's drawing: the switch view's labels, grouped by switch.
#include "writers/sheet_switch_table.h"

#include <string_view>

#include "base/char_writer.h"
#include "base/encoding.h"
#include "writers/html_sheet.h"
#include "enclosure/switch_order.h"

namespace {

// A table row of plain texts, made in place and appended at once; false (nothing written) when a
// text is not plain or the row does not fit.
bool plainRow(std::string& out, std::string_view port, int bay, const std::string* host, std::string_view nic) {
    char row[160];
    if (port.size() + nic.size() + (host ? host->size() : 0) > 96 || !isPlainHtml(port) || !isPlainHtml(nic) ||
        (host && !isPlainHtml(*host)))
        return false;
    CharWriter p(row);
    p.put("<tr><td>").put(port).put("</td><td>").number(bay);
    if (host) p.put("</td><td>").put(*host);
    p.put("</td><td>").put(nic).put("</td></tr>\n");
    out.append(row, static_cast<std::size_t>(p.end() - row));
    return true;
}

void cell(std::string& out, const std::string& text, ToUtf8 toUtf8) {
    out += "<td>";
    appendHtmlText(out, text, toUtf8);
    out += "</td>";
}

void openTable(std::string& out, const MappedEnclosure& e, char letter) {
    out += "<table class=\"switch\"><caption>Switch ";
    appendHtmlText(out, catalogueToUtf8(std::string(1, letter)));
    if (e.names && !e.names->switchHost(letter).empty()) {
        out += " \xC2\xB7 ";
        appendHtmlText(out, inputToUtf8(e.names->switchHost(letter)));
    }
    out += "</caption>\n<thead><tr><th>Port</th><th>Bay</th>";
    if (e.names) out += "<th>Host</th>";
    out += "<th>NIC</th></tr></thead>\n<tbody>\n";
}

// The shown bays without a blade that no blade covers, as "Bay 3: empty" or "Bays 3, 4 and 11: empty".
void appendEmptyBays(std::string& out, const EnclosureView& view) {
    std::string bays;
    int count = 0, last = 0;
    for (int bay = 1; bay <= EnclosureView::kBays; ++bay) {
        const EnclosureView::Bay& shown = view.bays[bay - 1];
        if (!shown.shown || !shown.type.empty() || shown.coveredBy != 0) continue;
        if (count > 0) bays += ", ";
        bays += std::to_string(bay);
        last = bay;
        ++count;
    }
    if (count == 0) return;
    if (count > 1) {
        const std::string tail = ", " + std::to_string(last);
        bays.replace(bays.size() - tail.size(), tail.size(), " and " + std::to_string(last));
    }
    out += "<p class=\"empty\">";
    out += count == 1 ? "Bay " : "Bays ";
    out += bays;
    out += ": empty</p>\n";
}

}  // namespace

void appendSwitchTables(std::string& out, const MappedEnclosure& e) {
    out += "<aside class=\"switches\">\n";
    bool open = false;
    char letter = 0;
    for (const SwitchLabel& label : labelsBySwitch(e.rows)) {
        if (!open || switchKey(label.letter) != switchKey(letter)) {
            if (open) out += "</tbody></table>\n";
            openTable(out, e, label.letter);
            open = true;
            letter = label.letter;
        }
        const std::string port = switchPortText(label);
        if (plainRow(out, port, label.row->bay, e.names ? &e.names->host(label.row->bay) : nullptr, label.row->nic))
            continue;
        out += "<tr>";
        cell(out, port, catalogueToUtf8);
        out += "<td>";
        out += std::to_string(label.row->bay);
        out += "</td>";
        if (e.names) cell(out, e.names->host(label.row->bay), inputToUtf8);
        cell(out, std::string(label.row->nic), catalogueToUtf8);
        out += "</tr>\n";
    }
    if (open) out += "</tbody></table>\n";
    if (e.view) appendEmptyBays(out, *e.view);
    out += "</aside>\n";
}
