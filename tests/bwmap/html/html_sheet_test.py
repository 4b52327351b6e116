"""bwmap --format html end to end: parsed by html5lib against the tsv output ("parse"), drawn and
printed by headless Chromium ("render"). usage: html_sheet_test.py parse|render BWMAP WORKDIR"""
import os
import re
import signal
import subprocess
import sys
import tempfile

import datetime
import hashlib

import html5lib

BLUE, GREEN = (35, 60, 255), (40, 150, 100)
# A type whose name holds markup and Windows-1252 bytes (e-acute, the unassigned 0x81) and whose
# port map puts a quote, "<" and "&" into its labels.
CATALOGUE = b'"Q<&>x\xe9\x81" 0x0 "<&A 1212\n'
# Three enclosures (the first the full one: Fell above and below, Crag, Tarn-M2 under Windows)
# and a refused row.
PLANS = (b"name,enclosure,os,1,2,5,9,os2\n"
         b'"Rack <A> & ""B""",enhanced,linux,Fell,Tarn-M2,Crag,Fell,windows\n'
         b"Row two,standard,linux,Tarn,Tarn +NIC upgrade,,,\n"
         b"Refused,standard,,Tarn-M3,,,,\n"
         b"Odd,,,Q<&>x\xe9\x81,,,,\n")
RACK = 'Rack <A> & "B"'


def run(bwmap, work, args, status=0, epoch=None, given=b""):
    env = {k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"}
    if epoch is not None:
        env["SOURCE_DATE_EPOCH"] = epoch
    done = subprocess.run([bwmap] + args, cwd=work, capture_output=True, timeout=60, env=env, input=given)
    assert done.returncode == status, f"bwmap {args}: status {done.returncode}; {done.stderr!r}"
    return done.stdout


def plans_args(work):
    for name, data in (("plans.csv", PLANS), ("odd.ini", CATALOGUE)):
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)
    return ["--plans", "plans.csv", "--catalogue", "odd.ini"]


def parse_page(raw):
    """{heading: section} of a page that is valid UTF-8, parses without error, and refers to
    nothing outside itself."""
    assert not re.search("[\x00-\x08\x0b-\x1f\x7f-\x9f]", raw.decode("utf-8")), "a control character"
    doc = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False).parse(raw)
    for e in doc.iter():
        assert e.tag not in ("script", "link", "img", "iframe", "object", "embed", "base"), e.tag
        assert not [a for a in e.attrib if a in ("src", "href", "srcset", "action", "data") or a.startswith("on")]
    styles = "".join(s.text or "" for s in doc.iter("style"))
    assert "url(" not in styles and "@import" not in styles, "the style sheet refers to a file"
    return {s.find("h1").text: s for s in doc.iter("section")}


def divs(section, cls):
    return [e for e in section.iter("div") if e.get("class") == cls]


def labels(section):
    """{label text: its CSS colour}"""
    return {e.text: re.search(r"color:#(\w+)", e.get("style")).group(1) for e in divs(section, "lbl")}


def tsv_labels(tsv, plans):
    found = {}
    for line in tsv.decode("utf-8", "replace").splitlines()[1:]:
        cells = line.split("\t")
        name = cells.pop(0) if plans else None
        found.setdefault(name, []).append(cells[3] + (", " + cells[4] if cells[4] else ""))
    return {name: sorted(found[name]) for name in found}


def full_enclosure(length=24, rack=7):
    """Sixteen half-height blades and both switches with host names of `length` characters, of rack 1-9."""
    picks = [f"switch{s}=" + f"encl7-switch-{s.lower()}-north-dc-0123"[:length] for s in "AB"]
    for bay in range(1, 17):
        host = ("db<&>" if bay == 5 else "web") + f"{bay:02d}-rack{rack}-dc-north-xyz-0123"
        picks += [f"{bay}=Fell", f"host{bay}={host[:length]}"]
    return picks


def switch_tables(section):
    """{caption: [[port, bay, host, nic], ...]} of the switch tables, rows in order."""
    return {t.find("caption").text: [[td.text or "" for td in tr.iter("td")] for tr in t.find("tbody").iter("tr")]
            for t in section.iter("table")}


def footer(section):
    (foot,) = section.iter("footer")
    return foot.text


def test_switch_tables(bwmap, work):
    """The switch tables of a full enclosure hold the switch view's rows, switch by switch."""
    (section,) = parse_page(run(bwmap, work, ["--format", "html"] + full_enclosure())).values()
    tsv = run(bwmap, work, ["--format", "tsv", "--by", "switch"] + full_enclosure()).decode()
    hosts = dict(p.split("=", 1) for p in full_enclosure() if p.startswith("switch"))
    letters = {name: key[len("switch"):] for key, name in hosts.items()}  # the switch view shows the names
    expected = {}
    for switch, port, bay, _, host, nic in (line.split("\t") for line in tsv.splitlines()[1:]):
        expected.setdefault(f"Switch {letters[switch]} \u00b7 {switch}", []).append([port, bay, host, nic])
    assert len(expected) == 2 and sum(map(len, expected.values())) == 32, expected
    assert switch_tables(section) == expected
    assert [th.text for th in section.find(".//thead").iter("th")] == ["Port", "Bay", "Host", "NIC"]
    assert not [p for p in section.iter("p") if p.get("class") == "empty"], "a full enclosure has no empty bay"


def test_footer(bwmap, work):
    args = plans_args(work)
    raw = run(bwmap, work, ["--format", "html"] + args, status=3, epoch="951825600")
    digest = hashlib.sha256(CATALOGUE).hexdigest()[:12]
    assert [footer(s) for s in parse_page(raw).values()] == [
        f"bwmap, version 1.0.0 \u00b7 2000-02-29 12:00:00 UTC \u00b7 catalogue: odd.ini, SHA-256 {digest} \u00b7 "
        f"plans: plans.csv, line {line}" for line in (2, 3, 5)]
    assert raw == run(bwmap, work, ["--format", "html"] + args, status=3, epoch="951825600"), "not reproducible"
    # A catalogue through a pipe is read once: the footer names the bytes the types came from.
    piped = run(bwmap, work, ["--format", "html", "--catalogue", "/dev/stdin", "1=Fell"], given=CATALOGUE)
    assert footer(*parse_page(piped).values()).endswith(f"catalogue: /dev/stdin, SHA-256 {digest}")

    def date(epoch):
        (section,) = parse_page(run(bwmap, work, ["--format", "html", "1=Fell"], epoch=epoch)).values()
        return footer(section).split(" \u00b7 ")[1]
    for seconds in (0, 86399, 951825600, 4107542399, 253402300799):
        stamp = datetime.datetime.fromtimestamp(seconds, datetime.timezone.utc)
        assert date(str(seconds)) == stamp.strftime("%Y-%m-%d %H:%M:%S UTC"), seconds
    (section,) = parse_page(run(bwmap, work, ["--format", "html", "1=Fell"])).values()
    assert footer(section).endswith(" \u00b7 catalogue: built-in types only"), footer(section)
    for bad in ("253402300800", "12x", "-1", " 5"):
        assert run(bwmap, work, ["--format", "html", "1=Fell"], status=2, epoch=bad) == b"", bad


# A plan and its change: r1's blades swap bays, r2 stays, r3 is replaced by r4 (db01 moves there),
# and one markup name changes host.
DIFF_OLD = (b"name,1,2,host1,host2\n"
            b"r1,Fell,Tarn-M2,web01,web02\nr2,Fell,,same01,\nr3,Tarn,,db01,\n\"<b>&\",Fell,,h1,\n")
DIFF_NEW = (b"name,1,2,host1,host2\n"
            b"\"<b>&\",Fell,,h2,\nr2,Fell,,same01,\nr4,Tarn,,db01,\nr1,Tarn-M2,Fell,web02,web01\n")


def test_diff_sheet(bwmap, work):
    """--diff --format html: one page per changed enclosure in the new file's order, then the
    removed ones; each draws its changed bays framed, lists its blade facts and port changes as
    the tsv does, and names both files in its footer."""
    for name, data in (("old.csv", DIFF_OLD), ("new.csv", DIFF_NEW)):
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)
    raw = run(bwmap, work, ["--diff", "old.csv", "new.csv", "--format", "html"], status=1, epoch="951825600")
    pages = parse_page(raw)
    assert list(pages) == ["<b>&", "r4", "r1", "r3"], list(pages)
    facts = {name: ["".join(li.itertext()) for li in s.iter("li")] for name, s in pages.items()}
    assert facts == {"<b>&": ["renamed: <b>& bay 1: h1 -> h2"],
                     "r4": ["moved: db01: r3 bay 1 -> r4 bay 1"],
                     "r1": ["moved: web02: r1 bay 2 -> r1 bay 1", "moved: web01: r1 bay 1 -> r1 bay 2"],
                     "r3": ["moved: db01: r3 bay 1 -> r4 bay 1"]}, facts
    assert {name: len(divs(s, "blade changed")) for name, s in pages.items()} == {"<b>&": 1, "r4": 1, "r1": 2, "r3": 1}
    tsv = run(bwmap, work, ["--diff", "old.csv", "new.csv", "--format", "tsv"], status=1).decode()
    expected = {}
    for line in tsv.splitlines()[1:]:
        c = line.split("\t")
        if c[2]:
            expected.setdefault(c[0], []).append([c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[9], c[10], c[11], c[12], c[14]])
    tables = {name: [[td.text or "" for td in tr.iter("td")] for tr in s.find(".//tbody").iter("tr")]
              for name, s in pages.items()}
    assert tables == expected, (tables, expected)
    assert footer(pages["r1"]).endswith("plans: old.csv, line 2 and new.csv, line 5"), footer(pages["r1"])
    assert footer(pages["r3"]).endswith("plans: old.csv, line 4"), footer(pages["r3"])
    assert run(bwmap, work, ["--diff", "old.csv", "old.csv", "--format", "html"]).count(b"<section") == 0
    return raw


def test_parse(bwmap, work):
    road = ["--os", "linux", "2=Tarn-M2"]  # the road of one event
    (section,) = parse_page(run(bwmap, work, ["--format", "html"] + road)).values()
    assert labels(section) == {"A-3, NIC A": "233cff", "A-4, NIC B": "233cff", "B-4, NIC C": "233cff"}
    assert tsv_labels(run(bwmap, work, ["--format", "tsv"] + road), False)[None] == sorted(labels(section))
    assert len(divs(section, "slot")) == 14, "bay 10 under the full-height Tarn-M2 is drawn as empty"

    args = plans_args(work)
    raw = run(bwmap, work, ["--format", "html"] + args, status=3)
    pages = parse_page(raw)
    assert list(pages) == [RACK, "Row two", "Odd"], list(pages)
    expected = tsv_labels(run(bwmap, work, ["--format", "tsv"] + args, status=3), True)
    assert {name: sorted(labels(s)) for name, s in pages.items()} == expected
    assert b"Q&lt;&amp;&gt;x\xc3\xa9\xef\xbf\xbd</div>" in raw and b"&quot;-1, NIC A" in raw, "not escaped"
    assert [e.text for e in divs(pages["Odd"], "type")] == ["Q<&>x\u00e9\ufffd"]

    rack = pages[RACK]
    colours = labels(rack)
    assert [colours.pop("A-2, NIC A"), colours.pop("B-2, NIC B")] == ["289664"] * 2, "lower Fell not green"
    assert set(colours.values()) == {"233cff"}, colours
    blades = [e.get("style") for e in divs(rack, "blade")]
    assert len(blades) == 4 and "grid-area:2/5/11/9" in blades, f"Crag not over bays 5-8, 13-16: {blades}"
    assert len(divs(rack, "slot")) == 4, "empty slots beside bays 3, 4, 11, 12"
    assert "".join(divs(rack, "os")[0].itertext()) == "OS Windows"
    assert [e.text for e in divs(pages["Row two"], "cap")] == [f"Bay {n}" for n in range(1, 9)], "Standard"
    assert [p.text for p in rack.iter("p") if p.get("class") == "empty"] == ["Bays 3, 4, 11 and 12: empty"]
    assert [p.text for p in pages["Row two"].iter("p") if p.get("class") == "empty"] == ["Bays 3, 4, 5, 6, 7 and 8: empty"]
    test_switch_tables(bwmap, work)
    test_footer(bwmap, work)
    test_diff_sheet(bwmap, work)


def chromium(work, args):
    """Runs headless Chromium in a process group of its own and ends the group."""
    with tempfile.TemporaryDirectory(dir=work) as profile:
        browser = subprocess.Popen(
            ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--force-device-scale-factor=1", "--ozone-platform=headless", "--hide-scrollbars", "--user-data-dir=" + profile] + args,
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, start_new_session=True,
            env={k: v for k, v in os.environ.items() if k != "DISPLAY"})  # off the tests' X display
        try:
            _, err = browser.communicate(timeout=120)
        finally:
            try:
                os.killpg(browser.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        assert browser.returncode == 0, err[-500:]


def colour_rows(png, colour):
    """Picture rows that hold a pixel of exactly this colour."""
    raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    width = int(subprocess.run(["identify", "-format", "%w", png], capture_output=True, check=True).stdout)
    return {i // width for i, p in enumerate(zip(raw[0::3], raw[1::3], raw[2::3])) if p == colour}


def test_render(bwmap, work):
    page, png, pdf = (os.path.join(work, n) for n in ("full.html", "enclosure-sheet.png", "plans.pdf"))
    with open(page, "wb") as f:
        f.write(run(bwmap, work, ["--format", "html", "--os", "windows", "1=Fell", "9=Fell", "5=Crag", "2=Tarn-M2",
                                  "host1=web01", "host9=web09", "host5=db05", "host2=app02", "switchA=r7-swa",
                                  "switchB=r7-swb"], epoch="1800000000"))
    if os.path.exists(png):
        os.remove(png)
    chromium(work, ["--screenshot=" + png, "--window-size=1123,794", "file://" + page])  # A4 at 96 dpi
    # Blue captions are the topmost coloured text and green ones the lowest: the labels of each
    # colour stand well clear of their captions (a caption is under 30 pixels high).
    blue, green = colour_rows(png, BLUE), colour_rows(png, GREEN)
    assert blue and green and max(blue) > min(blue) + 30 and min(green) < max(green) - 30, "label colours"

    with open(page, "wb") as f:
        f.write(run(bwmap, work, ["--format", "html"] + plans_args(work), status=3))
    chromium(work, ["--print-to-pdf=" + pdf, "--no-pdf-header-footer", "file://" + page])
    with open(pdf, "rb") as f:
        boxes = re.findall(rb"/MediaBox\s*\[\s*0 0 ([\d.]+) ([\d.]+)\s*\]", f.read())
    assert len(boxes) == 3, f"three enclosures printed on {len(boxes)} pages"
    assert all(abs(float(w) - 841.9) < 1.5 and abs(float(h) - 595.3) < 1.5 for w, h in boxes), boxes

    # Two full enclosures with the longest names still take a page each, their footers on it:
    # without further columns, with a short one, and with a line of them far longer than two.
    rows = ((7, "rack-7-north-dc-0123456789"), (8, "rack-8"))
    notes = "moved from hall 2; check the lower switch's uplinks before any change; " * 20
    for extra in ({}, {"Rack": "R12"}, {"location": "Hall 3, row 12, rack 7, Frankfurt north",
                                        "owner": "Platform infrastructure (on call: +49 69 1234 5678)", "notes": notes}):
        with open(os.path.join(work, "full.csv"), "w") as f:
            names = [p.split("=")[0] for p in full_enclosure()]
            f.write(",".join(["name"] + names + list(extra)) + "\n")
            # A host name names one machine: each row's blades have names of their own.
            for rack, row in rows:
                cells = [p.split("=", 1)[1] for p in full_enclosure(rack=rack)] + [f'"{v}"' for v in extra.values()]
                f.write(",".join([row] + cells) + "\n")
        with open(page, "wb") as f:
            f.write(run(bwmap, work, ["--format", "html", "--plans", "full.csv"]))
        chromium(work, ["--print-to-pdf=" + pdf, "--no-pdf-header-footer", "file://" + page])
        texts = pdf_pages(work, pdf)
        assert len(texts) == 2, f"two full enclosures with {list(extra)} printed on {len(texts)} pages"
        for (_, row), text in zip(rows, texts):
            assert row in text and "bwmap, version 1.0.0" in text, f"{list(extra)}: {row} not whole on its page"

    # The work sheet prints one page per changed enclosure, each whole with its footer.
    with open(page, "wb") as f:
        f.write(test_diff_sheet(bwmap, work))
    chromium(work, ["--print-to-pdf=" + pdf, "--no-pdf-header-footer", "file://" + page])
    texts = pdf_pages(work, pdf)
    assert len(texts) == 4 and all(n in t and "bwmap, version 1.0.0" in t for n, t in zip(["<b>&", "r4", "r1", "r3"], texts)), texts


def pdf_pages(work, pdf):
    """The text of each page of a PDF, read by Ghostscript."""
    for old in [n for n in os.listdir(work) if n.startswith("pdf-page-")]:
        os.remove(os.path.join(work, old))
    subprocess.run(["gs", "-q", "-dNOPAUSE", "-dBATCH", "-sDEVICE=txtwrite",
                    "-sOutputFile=" + os.path.join(work, "pdf-page-%03d.txt"), pdf], check=True, timeout=120)
    names = sorted(n for n in os.listdir(work) if n.startswith("pdf-page-"))
    return [open(os.path.join(work, n), encoding="utf-8", errors="replace").read() for n in names]


if __name__ == "__main__":
    mode, bwmap, work = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    os.makedirs(work, exist_ok=True)
    {"parse": test_parse, "render": test_render}[mode](bwmap, work)
    print("passed")
