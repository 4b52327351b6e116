// The work sheet of a change ticket, made of the map sheet's head, drawing and footer.
#include "writers/diff_sheet.h"

#include "base/encoding.h"
#include "writers/diff_writer.h"
#include "writers/html_sheet.h"
#include "writers/markup_text.h"

namespace {

void cell(std::string& out, std::string_view text, ToUtf8 toUtf8) {
    out += "<td>";
    appendHtmlText(out, std::string(text), toUtf8);
    out += "</td>";
}

void portTable(std::string& out, const std::vector<PortChange>& rows) {
    out += "<table class=\"switch ticket\"><caption>Port changes</caption><thead><tr>";
    for (const char* column : {"Switch", "Port", "Change", "What", "Old bay", "Old type", "Old host", "Old NIC",
                               "New bay", "New type", "New host", "New NIC"})
        out.append("<th>").append(column).append("</th>");
    out += "</tr></thead><tbody>\n";
    for (const PortChange& row : rows) {
        out += "<tr>";
        cell(out, row.switchName, inputToUtf8);
        cell(out, row.port, catalogueToUtf8);
        cell(out, changeWord(row.kind), inputToUtf8);
        cell(out, row.what, inputToUtf8);
        for (const PortUse* use : {&row.before, &row.after}) {
            cell(out, use->bay == 0 ? std::string() : std::to_string(use->bay), inputToUtf8);
            cell(out, use->type, catalogueToUtf8);
            cell(out, use->host, inputToUtf8);
            cell(out, use->nic, catalogueToUtf8);
        }
        out += "</tr>\n";
    }
    out += "</tbody></table>\n";
}

}  // namespace

void DiffSheet::add(std::size_t pair, const MappedEnclosure* before, const MappedEnclosure* after,
                    const std::vector<PortChange>& rows, const BayChange* bays, std::size_t bayCount) {
    const MappedEnclosure& shown = after ? *after : *before;
    if (!shown.view) return;
    Page page;
    page.pair = pair;
    std::string& top = page.top;
    // A compact drawing leaves the page room for the port changes.
    top += "<section class=\"sheet compact\">\n<h1>";
    if (shown.name) appendHtmlText(top, *shown.name, inputToUtf8);
    top += "</h1>\n<p class=\"meta\">";
    top += !before ? "Added: " : !after ? "Removed: " : "Changed: ";
    appendHtmlText(top, shown.enclosure);
    top += " enclosure, default OS ";
    appendHtmlText(top, shown.defaultOs);
    if (before && after && (before->enclosure != after->enclosure || before->defaultOs != after->defaultOs)) {
        top += " (was ";
        appendHtmlText(top, before->enclosure);
        top += ", ";
        appendHtmlText(top, before->defaultOs);
        top += ")";
    }
    top += "</p>\n";
    bool marked[EnclosureNames::kBays + 1] = {};
    for (std::size_t i = 0; i < bayCount; ++i) marked[bays[i].bay] = true;
    appendEnclosureDrawing(top, shown, marked);
    portTable(page.bottom, rows);
    SheetFacts facts = facts_;
    // The footer's file and line: both files' when the enclosure is in both.
    facts.plansFile = before && after ? oldFile_ + ", line " + std::to_string(before->line) + " and " + newFile_
                      : after         ? newFile_
                                      : oldFile_;
    appendSheetFooter(page.bottom, facts, shown.line);
    page.bottom += "</section>\n";
    pages_.push_back(std::move(page));
}

void DiffSheet::write(std::string& out, const std::vector<BladeFact>& facts,
                      const std::function<const std::string&(std::size_t pair)>& enclosure) const {
    appendSheetHead(out);
    for (const Page& page : pages_) {
        out += page.top;
        bool any = false;
        for (const BladeFact& f : facts) {
            if (f.fromPair != page.pair && f.toPair != page.pair) continue;
            out += any ? "<li>" : "<ul class=\"facts\">\n<li>";
            any = true;
            out += factWord(f.kind);
            out += ": ";
            appendHtmlText(out, factSentence(f, enclosure(f.fromPair), enclosure(f.toPair)), inputToUtf8);
            out += "</li>\n";
        }
        if (any) out += "</ul>\n";
        out += page.bottom;
    }
    appendSheetTail(out);
}
