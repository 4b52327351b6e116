"""bwmap's formats for pipelines, read by the clients that take them: --verify --format junit by
junitparser against the tsv verdicts of the same run ("junit"); --format dot parsed and drawn by
Graphviz, its edges read back by pydot against the tsv labels ("dot"); one table of names with
quotes, backslashes, markup and 8-bit letters through both ("names").
usage: pipeline_formats_test.py junit|dot|names BWMAP WORKDIR"""
import json
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

import pydot
from junitparser import JUnitXml

EPOCH, STAMP = "1700000000", "2023-11-14T22:13:20"


def run(bwmap, work, args, status):
    env = dict(os.environ, SOURCE_DATE_EPOCH=EPOCH, LC_ALL="C")
    done = subprocess.run([bwmap] + args, cwd=work, capture_output=True, timeout=60, env=env)
    assert done.returncode == status, f"bwmap {args}: status {done.returncode}, not {status}; {done.stderr!r}"
    return done.stdout, done.stderr


def tsv(text):
    lines = text.decode("utf-8").splitlines()
    head = lines[0].split("\t")
    return [dict(zip(head, line.split("\t"))) for line in lines[1:]]


def write(work, name, data):
    with open(os.path.join(work, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def capture(seen):
    """lldpcli's JSON for a blade whose interfaces see (interface, switch, port)."""
    return json.dumps({"lldp": {"interface": {i: {"chassis": {s: {}}, "port": {"id": {"type": "ifname", "value": p}}}
                                              for i, s, p in seen}}})


def eno(nic):
    return "eno%d" % (ord(nic[-1]) - 64)


# --- junit ---------------------------------------------------------------------------------
PLANS = ("name,1,2,3,host1,host2,host3,switchA,switchB\n"
         "r1,Fell,Tarn-M2,Tarn,web01,web02,web03,r1-a,r1-b\n"
         "r2,Tarn-M3,,,db01,,,,\n"
         "r3,Fell,,,,,,,\n")


def expected_case(row):
    """(classname, name, kind, type) of a tsv verdict row, as the report must give it."""
    who = row["Host"] or "bay " + row["Bay"]
    end = row["NIC"] or row["Interface"]
    kind = {"ok": None, "missing": "Failure", "unexpected": "Failure", "not captured": "Error"}[row["Verdict"]]
    kind_type = None if kind is None else row["Verdict"]
    return (row["Enclosure"] + "." + who, end + " -> " + row["Switch"] + " " + row["Port"], kind, kind_type)


def read_report(raw):
    report = JUnitXml.fromstring(raw.decode("utf-8"))
    suites = []
    for suite in report:
        cases = []
        for case in suite:
            results = list(case.result)
            assert len(results) <= 1, (case.name, results)
            kind = type(results[0]).__name__ if results else None
            cases.append((case.classname, case.name, kind, results[0].type if results else None,
                          results[0].message if results else None))
        suites.append((suite.name, suite.tests, suite.failures, suite.errors, suite.skipped, suite.timestamp, cases))
    return suites


def test_junit(bwmap, work):
    write(work, "plans.csv", PLANS)
    plan = tsv(run(bwmap, work, ["--plans", "plans.csv", "--format", "tsv"], 0)[0])
    seen = {}
    for row in plan:
        host, enc = row["Host"], row["Enclosure"]
        if not host or row["NIC"] == "MGT":
            continue
        letter, number = row["Switch port"].split("-")
        seen.setdefault(host, []).append([eno(row["NIC"]), row["Switch"] or enc + "-sw" + letter, "swp" + number])
    # web01's NIC B has no cable, and web02's NIC A ends on its port; web03 is not captured; db01
    # sees a stranger as well.
    seen["web02"][0][1:] = seen["web01"].pop(1)[1:]
    del seen["web03"]
    seen["db01"].append(["eno9", "stranger", "x"])
    os.makedirs(os.path.join(work, "caps"), exist_ok=True)
    for host, ports in seen.items():
        write(work, os.path.join("caps", host + ".json"), capture(ports))
    args = ["--plans", "plans.csv", "--switch-port-name", "swp{port}", "--verify", "caps"]
    rows = tsv(run(bwmap, work, args + ["--format", "tsv"], 1)[0])
    raw, err = run(bwmap, work, args + ["--format", "junit"], 1)
    assert err == b"", err
    assert run(bwmap, work, args + ["--format", "junit"], 1)[0] == raw, "two runs differ"
    suites = read_report(raw)
    assert [s[0] for s in suites] == list(dict.fromkeys(r["Enclosure"] for r in rows)), suites
    for name, tests, failures, errors, skipped, stamp, cases in suites:
        mine = [r for r in rows if r["Enclosure"] == name]
        count = lambda *v: sum(r["Verdict"] in v for r in mine)
        assert (tests, failures, errors, skipped, stamp) == (len(mine), count("missing", "unexpected"),
                                                             count("not captured"), 0, STAMP), (name, mine)
        assert [c[:4] for c in cases] == [expected_case(r) for r in mine], (cases, mine)
        assert all(c[4] == r["Note"] for c, r in zip(cases, mine) if r["Note"]), (cases, mine)
    verdicts = {v: sum(r["Verdict"] == v for r in rows) for v in ("ok", "missing", "unexpected", "not captured")}
    assert all(verdicts.values()), verdicts

    # A capture that cannot be read: status 2 for both, and an error testcase in its suite.
    write(work, "plans2.csv", PLANS + "r4,Fell,,,bad1,,,,\n")
    write(work, os.path.join("caps", "bad1.json"), "not json")
    args[1] = "plans2.csv"
    rows, tsv_err = run(bwmap, work, args + ["--format", "tsv"], 2)
    raw, err = run(bwmap, work, args + ["--format", "junit"], 2)
    assert err == tsv_err and b"bad1.json" in err, err
    last = read_report(raw)[-1]
    assert last[0] == "r4" and last[1:5] == (1, 0, 1, 0), last
    assert last[6][0][2:4] == ("Error", "error") and "bad1.json" in last[6][0][4], last
    print(f"ok: {len(suites)} suites, verdicts {verdicts}, and a capture error as an error testcase")


# --- dot -----------------------------------------------------------------------------------
EDGE = re.compile(r'^"((?:[^"\\]|\\.)*)":"((?:[^"\\]|\\.)*)"$')


def unquote(end):
    """A DOT end "NODE":"PORT" as the two names it escapes."""
    m = EDGE.match(end)
    assert m, end
    return tuple(re.sub(r"\\(.)", r"\1", part) for part in m.groups())


def graph_edges(raw, work):
    """The graph's edges read back by pydot, after Graphviz drew it to SVG without a word."""
    with open(os.path.join(work, "g.dot"), "wb") as f:
        f.write(raw)
    drawn = subprocess.run(["dot", "-Tsvg", os.path.join(work, "g.dot")], capture_output=True, timeout=60)
    assert drawn.returncode == 0 and drawn.stderr == b"", drawn.stderr
    ET.fromstring(drawn.stdout)
    graphs = pydot.graph_from_dot_data(raw.decode("utf-8"))
    assert len(graphs) == 1 and graphs[0].get_type() == "graph", graphs
    return [unquote(e.get_source()) + unquote(e.get_destination()) for e in graphs[0].get_edges()], drawn.stdout


def expected_edges(rows, enclosure, switches, nic, port):
    """One edge per tsv label, named as the NetBox files name its ends. The switch view's Switch
    column holds a named switch's name, else its letter."""
    edges = []
    for r in rows:
        enc = r.get("Enclosure", enclosure)
        letter, number = (r["Switch"], r["Port"]) if "Port" in r else r["Switch port"].split("-")
        blade = r.get("Host") or f"{enc}-bay{r['Bay']}"
        iface = "MGT" if r["NIC"] == "MGT" else nic(r["NIC"][-1])
        switch = letter if len(letter) > 1 else switches.get((enc, letter), f"{enc}-sw{letter}")
        edges.append((blade, iface, switch, port(number)))
    return edges


def test_dot(bwmap, work):
    write(work, "plans.csv", "name,enclosure,1,2,9,host2,switchB\nr1,standard,Tarn,Tarn-M2,,db2,r1-core\n"
                             "r2,enhanced,Fell,,Fell,,\n")
    one = ["--enclosure", "standard", "--name", "r7", "1=Tarn", "2=Tarn-M2", "5=Tarn", "host2=web02", "switchA=r7-a"]
    templates = ["--nic-name", "eno{n}", "--switch-port-name", "swp{port}"]
    cases = [
        ("one enclosure", one, {("r7", "A"): "r7-a"}, lambda n: n and "NIC " + n, str),
        ("templates", templates + one, {("r7", "A"): "r7-a"}, lambda n: "eno%d" % (ord(n) - 64), lambda p: "swp" + p),
        ("no host names", ["1=Fell", "9=Fell", "3=Tarn-M3"], {}, lambda n: "NIC " + n, str),
        ("plans file", ["--plans", "plans.csv"], {("r1", "B"): "r1-core"}, lambda n: "NIC " + n, str),
    ]
    total = 0
    for label, args, switches, nic, port in cases:
        for order in ([], ["--by", "switch"]):
            rows = tsv(run(bwmap, work, args + order + ["--format", "tsv"], 0)[0])
            raw = run(bwmap, work, args + order + ["--format", "dot"], 0)[0]
            got, svg = graph_edges(raw, work)
            want = expected_edges(rows, "r7" if "--name" in args else "enclosure", switches, nic, port)
            assert got == want, f"{label} {order}:\n{got}\n{want}"
            total += len(got)
    # The refusals of the NetBox files: nothing written for one enclosure, the row left out of a plans file.
    write(work, "wide.ini", '"Wide" 0x0 AB 31\n')
    for args, message in (
        (["--catalogue", "wide.ini", "1=Wide", "2=Tarn"],
         b'bwmap: switch port A-3 ("3") carries labels of bay 1 and bay 2: a topology has one cable per port\n'),
        (["1=Tarn", "host1=x", "switchA=x"], b'bwmap: the device name "x" is given to bay 1 and switch A\n'),
    ):
        out, err = run(bwmap, work, args + ["--format", "dot"], 2)
        assert out == b"" and err == message, (args, out, err)
    write(work, "twice.csv", "name,1,switchA\nr1,Tarn,core\nr2,Tarn,core\nr3,Fell,\n")
    out, err = run(bwmap, work, ["--plans", "twice.csv", "--format", "dot"], 2)
    assert b'twice.csv:3: r2: the device name "core" (switch A) is already a device of enclosure "r1"' in err, err
    got, _ = graph_edges(out, work)
    assert {e[0] for e in got} == {"r1-bay1", "r3-bay1"}, got
    # --diff writes the new plan's graph, with --diff's status and the same refusals.
    for old, new, status in (("plans.csv", "plans.csv", 0), ("plans.csv", "twice.csv", 2), ("twice.csv", "plans.csv", 1)):
        graph, notes = run(bwmap, work, ["--plans", new, "--format", "dot"], 2 if new == "twice.csv" else 0)
        out, err = run(bwmap, work, ["--diff", old, new, "--format", "dot"], status)
        assert out == graph and notes in err, (old, new, out, err)
    print(f"ok: {total} edges equal to the tsv labels, drawn without a warning; refusals as in the NetBox files")


# --- names ---------------------------------------------------------------------------------
# (argument bytes, the name as UTF-8): quotes, backslashes (one ending the name), markup and
# Windows-1252 letters given in 8 bits and in UTF-8.
NAMES = [
    (b'we"b01', 'we"b01'),
    (b"back\\slash\\", "back\\slash\\"),
    (b'q\\"x', 'q\\"x'),
    (b"a<b>&c'd", "a<b>&c'd"),
    (b"h\xfctte \x80", "h\u00fctte \u20ac"),
    ("m\u00fcnchen".encode("utf-8"), "m\u00fcnchen"),
]


def test_names(bwmap, work):
    for i, (name, text) in enumerate(NAMES):
        other, other_text = NAMES[(i + 1) % len(NAMES)]
        picks = [b"--name", name, b"1=Fell", b"host1=" + name, b"switchA=" + other]
        got, svg = graph_edges(run(bwmap, work, picks + [b"--format", b"dot"], 0)[0], work)
        want = [(text, "NIC A", other_text, "1"), (text, "NIC B", text + "-swB", "1")]
        assert got == want, (got, want)
        shown = "".join(ET.fromstring(svg).itertext())
        assert text in shown and other_text in shown, (text, shown)
        # The capture's switch name holds a control character, which the report replaces.
        write(work, "cap.json", capture([("eno1", other_text, "1"), ("eno2", "sw\u0007x", "9")]))
        suites = read_report(run(bwmap, work, picks + [b"--verify", name + b"=cap.json", b"--format", b"junit"], 1)[0])
        assert [s[0] for s in suites] == [text], suites
        cases = [c[:4] for c in suites[0][6]]
        assert cases == [(text + "." + text, "NIC A -> " + other_text + " 1", None, None),
                         (text + "." + text, "NIC B -> " + text + "-swB 1", "Failure", "missing"),
                         (text + "." + text, "eno2 -> sw\ufffdx 9", "Failure", "unexpected")], cases
    print(f"ok: {len(NAMES)} names read back the same from the graph and the report")


if __name__ == "__main__":
    mode, bwmap, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    {"junit": test_junit, "dot": test_dot, "names": test_names}[mode](os.path.abspath(bwmap), work)
