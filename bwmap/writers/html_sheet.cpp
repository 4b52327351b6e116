// The html format: each enclosure as the window lays it out, one A4 landscape page per enclosure.
#include "writers/html_sheet.h"

#include <cstdint>

#include "base/char_writer.h"
#include "base/encoding.h"
#include "writers/sheet_switch_table.h"

// The drawing is a grid of eight columns and the window's rows, top to bottom:
//   1 upper captions, 2 upper bays, 3 column OS, 4-9 the six label rows, 10 lower bays,
//   11 lower captions.
// A blade is a frame behind its texts: from its bay's row down to the last row of its bay
// (label row 3 for an upper bay, the lower bay's row below), across every bay that the form
// shows as covered by it. Texts and colours are the form's; nothing here decides a placement.
namespace {

constexpr int kCaptionRow = 1;
constexpr int kUpperBayRow = 2;
constexpr int kOsRow = 3;
constexpr int kFirstLabelRow = 4;
constexpr int kLowerBayRow = kFirstLabelRow + ids::kLabelRows;  // 10
constexpr int kLowerCaptionRow = kLowerBayRow + 1;

// One enclosure a page: the note stands under the drawing beside the switch tables, and the line
// of a plans row's further columns, in a smaller font, is cut after two lines (with an ellipsis),
// so that sixteen half-height blades with 24-character names and such a line fit an A4 page.
const char kHead[] =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<title>Baywise port map</title>\n<style>\n"
    "@page{size:A4 landscape;margin:10mm}\n"
    "*{box-sizing:border-box}\n"
    "html{-webkit-print-color-adjust:exact;print-color-adjust:exact}\n"
    "body{margin:0;background:#fff;color:#000;font:12pt Arial,\"Liberation Sans\",Helvetica,sans-serif}\n"
    ".sheet{width:277mm;margin:0 auto;padding:2mm 0;break-after:page;page-break-after:always;break-inside:avoid;"
    "display:grid;grid-template-columns:minmax(0,1fr) auto;column-gap:4mm;align-items:start}\n"
    ".sheet>*{grid-column:1/-1}\n"
    ".sheet>.bays{grid-column:1}\n"
    ".sheet>.switches{grid-column:2;grid-row:span 2}\n"
    ".sheet>.note{grid-column:1}\n"
    ".sheet:last-of-type{break-after:auto;page-break-after:auto}\n"
    "h1{font-size:16pt;margin:0 0 1mm}\n"
    ".meta{margin:0 0 3mm}\n"
    ".extra{margin:-1.5mm 0 2mm;font-size:9pt;line-height:1.25;max-height:2.5em;overflow:hidden;overflow-wrap:anywhere;"
    "display:-webkit-box;-webkit-box-orient:vertical;-webkit-line-clamp:2}\n"
    ".bays{display:grid;grid-template-columns:repeat(8,minmax(0,1fr));"
    "grid-template-rows:minmax(8mm,auto) minmax(11mm,auto) minmax(9mm,auto) repeat(6,minmax(8.5mm,auto)) minmax(11mm,auto) minmax(8mm,auto);"
    "gap:1.5mm 2.5mm;padding:2.5mm;border:0.3mm solid #777;border-radius:1mm}\n"
    ".cap{text-align:center;font-weight:bold;align-self:center}\n"
    ".blade{border:0.6mm solid #000;border-radius:1.2mm;background:#f2f2f2}\n"
    ".slot{border:0.3mm dashed #999;border-radius:1mm}\n"
    ".type,.os,.lbl{position:relative;text-align:center;align-self:center;overflow-wrap:anywhere}\n"
    ".type{font-weight:bold;padding:2mm 1.5mm}\n"
    ".host{display:block;font-weight:normal;font-size:8.5pt}\n"
    ".os{font-size:11pt}\n"
    ".os span{color:#444}\n"
    ".lbl{margin:0 1mm;padding:0.6mm 0.3mm;border:0.3mm solid #888;background:#fff;font-size:9.5pt}\n"
    ".note{font-size:9pt;margin:3mm 0 0}\n"
    ".switches{font-size:8pt}\n"
    ".switch{border-collapse:collapse;margin:0 0 2mm}\n"
    ".switch caption{text-align:left;font-weight:bold;padding:0 0 0.5mm}\n"
    ".switch th,.switch td{border:0.2mm solid #888;padding:0.2mm 1mm;text-align:left;white-space:nowrap}\n"
    ".switch th{background:#e6e6e6}\n"
    ".empty{margin:0}\n"
    ".foot{font-size:8pt;color:#444;margin:2mm 0 0}\n"
    ".changed{border:1.2mm solid #c00}\n"
    ".facts{margin:2mm 0 0;padding-left:5mm;font-size:9pt}\n"
    ".ticket{font-size:8pt;margin:2mm 0 0}\n"
    ".compact .bays{grid-template-rows:minmax(6mm,auto) minmax(9mm,auto) minmax(7mm,auto) repeat(6,minmax(6.5mm,auto)) "
    "minmax(9mm,auto) minmax(6mm,auto);gap:1mm 2.5mm}\n"
    "</style>\n</head>\n<body>\n";

const char kNote[] =
    "<p class=\"note\">Each label is a switch port and the NIC the operating system names it: "
    "&quot;A-2, NIC B&quot; is switch A, port 2, the second NIC. Upper-bay labels stand from the top of "
    "the column, a half-height lower blade&#39;s from the fifth row; bay numbers are above and below "
    "each column.</p>\n";

const char kTail[] = "</body>\n</html>\n";

// Opens an element placed on the grid: rows [row, rowEnd), columns [column, columnEnd), 1-based.
// The tag is made in place and appended at once: a sheet opens some 150 of them.
template <std::size_t N>
void openPlaced(std::string& out, const char (&cls)[N], int row, int rowEnd, int column, int columnEnd,
                const std::uint32_t* colour = nullptr) {
    static_assert(N <= 16, "a short class name");
    static const char hex[] = "0123456789abcdef";
    char tag[64 + N + 4 * (CharWriter::kNumberRoom + 1)];  // its fixed words take 36 bytes, a colour 14
    CharWriter p(tag);
    p.put("<div class=\"").put(std::string_view(cls, N - 1)).put("\" style=\"grid-area:");
    p.number(row).put('/').number(column).put('/').number(rowEnd).put('/').number(columnEnd);
    if (colour) {
        p.put(";color:#");
        for (int shift : {0, 8, 16}) {  // "#rrggbb" of a colour word 0x00BBGGRR
            const unsigned byte = (*colour >> shift) & 0xFF;
            p.put(hex[byte >> 4]).put(hex[byte & 0xF]);
        }
    }
    p.put("\">");
    out.append(tag, static_cast<std::size_t>(p.end() - tag));
}

// A grid element of one row holding `text`: UTF-8, or converted by `toUtf8` when one is given.
// Plain text is appended as it is.
template <std::size_t N>
void placedText(std::string& out, const char (&cls)[N], int row, int column, int columnEnd, const std::string& text,
                const std::uint32_t* colour, ToUtf8 toUtf8) {
    openPlaced(out, cls, row, row + 1, column, columnEnd, colour);
    if (isPlainHtml(text)) {
        out.append(text).append("</div>");
        return;
    }
    if (toUtf8) appendHtmlText(out, text, toUtf8);
    else appendHtmlText(out, text);
    out += "</div>";
}

// The bay's blade (or its empty slot), with the frame over the bays the form shows it covering.
void drawBay(std::string& out, const EnclosureView& view, int bay, const std::string& host, bool marked) {
    const EnclosureView::Bay& shown = view.bays[bay - 1];
    if (!shown.shown || shown.coveredBy != 0) return;
    const bool lower = bay > ids::kColumns;
    const int column = (bay - 1) % ids::kColumns + 1;
    const int row = lower ? kLowerBayRow : kUpperBayRow;
    if (shown.type.empty()) {
        if (marked) openPlaced(out, "slot changed", row, row + 1, column, column + 1);
        else openPlaced(out, "slot", row, row + 1, column, column + 1);
        out += "</div>";
        return;
    }
    // The frame widens over the bays of its own row that the blade covers. Only upper bays come to
    // that: the form clears a spanning type chosen in a lower bay.
    const int rowStart = lower ? ids::kColumns : 0;
    int columnEnd = column + 1;
    while (columnEnd <= ids::kColumns && view.bays[rowStart + columnEnd - 1].coveredBy == bay) ++columnEnd;
    int rowEnd;
    if (lower) {
        rowEnd = kLowerBayRow + 1;
    } else if (view.bays[bay - 1 + ids::kColumns].coveredBy == bay) {
        rowEnd = view.bays[bay - 1 + ids::kColumns].shown ? kLowerBayRow + 1 : kLowerBayRow;
    } else {
        rowEnd = kFirstLabelRow + ids::kFirstLowerLabelRow;
    }
    const int top = lower ? kFirstLabelRow + ids::kFirstLowerLabelRow : row;
    if (marked) openPlaced(out, "blade changed", top, rowEnd, column, columnEnd);
    else openPlaced(out, "blade", top, rowEnd, column, columnEnd);
    out += "</div>";
    openPlaced(out, "type", row, row + 1, column, columnEnd);
    appendHtmlText(out, shown.type, catalogueToUtf8);
    if (!host.empty()) {
        out += "<span class=\"host\">";
        appendHtmlText(out, host, inputToUtf8);
        out += "</span>";
    }
    out += "</div>";
}

class HtmlWriter : public MapWriter {
public:
    explicit HtmlWriter(const SheetFacts* facts) {
        if (facts) facts_ = *facts;
        footer_ = facts != nullptr;
    }
    bool drawsEnclosure() const override { return true; }
    void begin(std::string& out) override { out += kHead; }
    void end(std::string& out) override { out += kTail; }

    void write(std::string& out, const MappedEnclosure& e) override {
        if (!e.view) return;
        out += "<section class=\"sheet\">\n<h1>";
        if (e.name) appendHtmlText(out, *e.name, inputToUtf8);
        else out += "Enclosure port map";
        out += "</h1>\n<p class=\"meta\">";
        appendHtmlText(out, e.enclosure);
        out += " enclosure, default OS ";
        appendHtmlText(out, e.defaultOs);
        out += "</p>\n";
        if (e.extra && !e.extra->empty()) {
            out += "<p class=\"extra\">";
            for (std::size_t i = 0; i < e.extra->names.size(); ++i) {
                if (i > 0) out += "; ";
                appendHtmlText(out, inputToUtf8(e.extra->names[i]));
                out += ": ";
                appendHtmlText(out, inputToUtf8(i < e.extra->values.size() ? e.extra->values[i] : std::string()));
            }
            out += "</p>\n";
        }
        appendEnclosureDrawing(out, e, nullptr);
        appendSwitchTables(out, e);
        out += kNote;
        if (footer_) appendSheetFooter(out, facts_, e.line);
        out += "</section>\n";
    }

private:
    SheetFacts facts_;
    bool footer_;
};

}  // namespace

void appendSheetHead(std::string& out) { out += kHead; }
void appendSheetTail(std::string& out) { out += kTail; }

void appendEnclosureDrawing(std::string& out, const MappedEnclosure& e, const bool* marked) {
    const EnclosureView& view = *e.view;
    out += "<div class=\"bays\">\n";
    for (int bay = 1; bay <= EnclosureView::kBays; ++bay) {
        const EnclosureView::Bay& shown = view.bays[bay - 1];
        if (!shown.shown) continue;
        const bool lower = bay > ids::kColumns;
        const int column = (bay - 1) % ids::kColumns + 1;
        drawBay(out, view, bay, e.names ? e.names->host(bay) : std::string(), marked && marked[bay]);
        placedText(out, "cap", lower ? kLowerCaptionRow : kCaptionRow, column, column + 1, shown.caption,
                   &shown.captionColour, nullptr);
        out += '\n';
    }
    for (int c = 0; c < ids::kColumns; ++c) {
        if (view.columnOs[c].empty()) continue;
        openPlaced(out, "os", kOsRow, kOsRow + 1, c + 1, c + 2);
        out += "<span>OS</span> ";
        appendHtmlText(out, view.columnOs[c]);
        out += "</div>";
    }
    out += '\n';
    for (int r = 0; r < ids::kLabelRows; ++r)
        for (int c = 0; c < ids::kColumns; ++c) {
            const EnclosureView::Label& label = view.labels[r][c];
            if (!label.shown) continue;
            placedText(out, "lbl", kFirstLabelRow + r, c + 1, c + 2, label.text, &label.colour, catalogueToUtf8);
        }
    out += "\n</div>\n";
}

std::unique_ptr<MapWriter> makeHtmlWriter(const SheetFacts* facts) { return std::make_unique<HtmlWriter>(facts); }
