"""bwmap --format html end to end: the page parsed by html5lib and compared with the tsv output
(mode "parse"), and drawn by headless Chromium (mode "render").

usage: html_sheet_test.py parse|render BWMAP WORKDIR
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import html5lib

BLUE, GREEN = (35, 60, 255), (40, 150, 100)
BLUE_CSS, GREEN_CSS = "#233cff", "#289664"

# A type whose name holds markup and 8-bit characters (Windows-1252: e-acute, then the
# unassigned 0x81), and whose port map puts a quote, "<" and "&" into its labels.
CATALOGUE = b'"Q<&>x\xe9\x81" 0x0 "<&A 1212\n'
ODD_NAME = b"Q<&>x\xe9\x81"
PLANS = (b"name,enclosure,os,1,2,5,9,os2\n"
         b'"Rack <A> & ""B""",enhanced,linux,Fell,Tarn-M2,Crag,Fell,windows\n'
         b"Row two,standard,linux,Tarn,Tarn +NIC upgrade,,,\n"
         b"Refused,standard,,Tarn-M3,,,,\n"
         b"Odd," + b",," + ODD_NAME + b",,,,\n")
FULL = ["--os", "windows", "1=Fell", "9=Fell", "5=Crag", "2=Tarn-M2"]


class Failed(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failed(what)


def run(bwmap, args, cwd, status=0):
    done = subprocess.run([bwmap] + args, cwd=cwd, capture_output=True, timeout=60)
    check(done.returncode == status,
          f"bwmap {' '.join(args)}: status {done.returncode}, wanted {status}; {done.stderr!r}")
    return done.stdout


def write_plans(work):
    for name, data in (("plans.csv", PLANS), ("odd.ini", CATALOGUE)):
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)
    return ["--plans", "plans.csv", "--catalogue", "odd.ini"]


def tsv_labels(tsv, plans):
    """{enclosure name or None: sorted labels} from the tsv output."""
    found = {}
    for line in tsv.decode("utf-8", "replace").splitlines()[1:]:
        cells = line.split("\t")
        name = cells.pop(0) if plans else None
        found.setdefault(name, []).append(cells[3] + (", " + cells[4] if cells[4] else ""))
    return {name: sorted(labels) for name, labels in found.items()}


def classed(element, cls):
    return [e for e in element.iter("div") if e.get("class") == cls]


def parse_page(raw):
    """The parsed page, after the checks that hold for every page."""
    text = raw.decode("utf-8")  # raises on invalid UTF-8
    check(not re.search("[\x00-\x08\x0b-\x1f\x7f-\x9f]", text), "a control character in the page")
    doc = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False).parse(raw)
    for element in doc.iter():
        check(element.tag not in ("script", "link", "img", "iframe", "object", "embed", "base", "form"),
              f"<{element.tag}> on the page")
        check(not set(element.attrib) & {"src", "href", "srcset", "action", "data", "poster"},
              f"an outside reference in <{element.tag}>")
        check(not any(a.startswith("on") for a in element.attrib), "an event handler attribute")
    styles = "".join(s.text or "" for s in doc.iter("style"))
    check("url(" not in styles and "@import" not in styles, "the style sheet refers to an outside file")
    return doc


def sheets(doc):
    result = {}
    for section in doc.iter("section"):
        h1 = section.find("h1")
        result[h1.text] = section
    return result


def label_colours(section):
    return {e.text: re.search(r"color:(#[0-9a-f]{6})", e.get("style")).group(1) for e in classed(section, "lbl")}


def test_parse(bwmap, work):
    # The road of one event: Tarn-M2 in bay 2, default OS Linux.
    road = ["--os", "linux", "2=Tarn-M2"]
    doc = parse_page(run(bwmap, ["--format", "html"] + road, work))
    (section,) = sheets(doc).values()
    check(label_colours(section) == {"A-3, NIC A": BLUE_CSS, "A-4, NIC B": BLUE_CSS, "B-4, NIC C": BLUE_CSS},
          f"road labels: {label_colours(section)}")
    check(tsv_labels(run(bwmap, ["--format", "tsv"] + road, work), False)[None] == sorted(label_colours(section)),
          "road: the labels differ from the tsv output")
    check([e.text for e in classed(section, "type")] == ["Tarn-M2"], "road: the placed types")
    # Bay 10 under the full-height Tarn-M2 is part of its frame, not an empty slot.
    check(len(classed(section, "slot")) == 14, "road: empty slots")

    # A full enclosure: Fell above and below, a Crag covering bays 5-8 and 13-16.
    (section,) = sheets(parse_page(run(bwmap, ["--format", "html"] + FULL, work))).values()
    colours = label_colours(section)
    check(colours.pop("A-2, NIC A") == GREEN_CSS and colours.pop("B-2, NIC B") == GREEN_CSS,
          "the lower Fell's labels are not green")
    check(set(colours.values()) == {BLUE_CSS}, f"upper labels not blue: {colours}")
    blades = [e.get("style") for e in classed(section, "blade")]
    check(len(blades) == 4 and "grid-area:2/5/11/9" in blades, f"blade frames: {blades}")
    check(len(classed(section, "slot")) == 4, "full: only bays 3, 4, 11, 12 are empty slots")

    # Three enclosures from a plans file, one refused row between them.
    args = write_plans(work)
    raw = run(bwmap, ["--format", "html"] + args, work, status=3)
    pages = sheets(parse_page(raw))
    check(list(pages) == ['Rack <A> & "B"', "Row two", "Odd"], f"sheets: {list(pages)}")
    expected = tsv_labels(run(bwmap, ["--format", "tsv"] + args, work, status=3), True)
    check({name: sorted(label_colours(s)) for name, s in pages.items()} == expected,
          "plans: the labels differ from the tsv output")
    check(b"Q&lt;&amp;&gt;x\xc3\xa9\xef\xbf\xbd</div>" in raw and b"&quot;-1, NIC A" in raw,
          "the catalogue's name or labels are not escaped")
    check([e.text for e in classed(pages["Odd"], "type")] == ["Q<&>x\u00e9\ufffd"], "the odd type's name")
    check('"-1, NIC A' in label_colours(pages["Odd"]), "a label with a quote")
    captions = [e.text for e in classed(pages["Row two"], "cap")]
    check(captions == [f"Bay {n}" for n in range(1, 9)], f"Standard enclosure captions: {captions}")
    check("".join(classed(pages["Rack <A> & \"B\""], "os")[0].itertext()) == "OS Windows", "column 2 OS")


class Browser:
    """Headless Chromium in a process group of its own, ended with everything it started."""

    FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--force-device-scale-factor=1", "--hide-scrollbars"]

    def __init__(self, work):
        self.work = work

    def run(self, args):
        profile = tempfile.mkdtemp(dir=self.work)
        process = subprocess.Popen(["chromium"] + self.FLAGS + [f"--user-data-dir={profile}"] + args,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, start_new_session=True)
        try:
            _, err = process.communicate(timeout=120)
            check(process.returncode == 0, f"chromium: status {process.returncode}: {err[-500:]!r}")
        finally:
            self.end_group(process.pid)
            shutil.rmtree(profile, ignore_errors=True)

    @staticmethod
    def end_group(pgid):
        try:
            os.killpg(pgid, signal.SIGKILL)
        except ProcessLookupError:
            return
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            try:
                os.killpg(pgid, 0)
            except ProcessLookupError:
                return
            try:
                os.waitpid(-pgid, os.WNOHANG)
            except ChildProcessError:
                pass
            time.sleep(0.05)
        raise Failed("chromium's processes outlived the run")


def colour_bands(png, colour):
    """Runs of picture rows that hold a pixel of exactly this colour."""
    raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True,
                         timeout=60).stdout
    width = int(subprocess.run(["identify", "-format", "%w", png], capture_output=True, check=True,
                               timeout=60).stdout)
    rows = sorted({i // width for i, p in enumerate(zip(raw[0::3], raw[1::3], raw[2::3])) if p == colour})
    bands = []
    for y in rows:
        if bands and y == bands[-1][1] + 1:
            bands[-1][1] = y
        else:
            bands.append([y, y])
    return bands


def test_render(bwmap, work):
    browser = Browser(work)
    page = os.path.join(work, "full.html")
    with open(page, "wb") as f:
        f.write(run(bwmap, ["--format", "html"] + FULL, work))
    png = os.path.join(work, "enclosure-sheet.png")
    if os.path.exists(png):
        os.remove(png)
    # An A4 landscape page at 96 dots per inch.
    browser.run([f"--screenshot={png}", "--window-size=1123,794", "file://" + page])
    # The upper captions are the first blue band and the lower captions the last green one:
    # labels of each colour must stand between them.
    blue, green = colour_bands(png, BLUE), colour_bands(png, GREEN)
    check(len(blue) >= 2 and len(green) >= 2, f"label colours on the picture: blue {blue}, green {green}")
    check(blue[0][1] < green[0][0] and green[-2][1] < green[-1][0], "the green labels are not above Bay 9")

    # Printed: one A4 landscape page per enclosure.
    page = os.path.join(work, "plans.html")
    with open(page, "wb") as f:
        f.write(run(bwmap, ["--format", "html"] + write_plans(work), work, 3))
    pdf = os.path.join(work, "plans.pdf")
    browser.run([f"--print-to-pdf={pdf}", "--no-pdf-header-footer", "file://" + page])
    with open(pdf, "rb") as f:
        data = f.read()
    boxes = re.findall(rb"/MediaBox\s*\[\s*0 0 ([\d.]+) ([\d.]+)\s*\]", data)
    check(len(re.findall(rb"/Type\s*/Page\b(?!s)", data)) == 3 and len(boxes) == 3,
          f"the printed plans are not three pages: {boxes}")
    for w, h in boxes:
        check(abs(float(w) - 841.9) < 1.5 and abs(float(h) - 595.3) < 1.5, f"a page of {w}x{h} points, not A4 landscape")


def main():
    mode, bwmap, work = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    os.makedirs(work, exist_ok=True)
    try:
        {"parse": test_parse, "render": test_render}[mode](bwmap, work)
    except Failed as failure:
        print(f"FAILED: {failure}")
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
