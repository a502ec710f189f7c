#!/usr/bin/env python3
"""How soon headless Chromium shows a 10,000-point line page: the page `plotara render -o x.html`
writes (with its zoom windows, the default, and without them, as `plotara batch` writes it), the
SVG file of the same chart and a page of one line of text (what the browser itself takes), and
with --before the page an older `plotara` writes, loaded in turn in one browser in an order
shuffled each round (one warm-up round, not counted); the median of first contentful paint, of
the load event and of the moment the chart's script has set it up (a dense chart's does so after
its first paint), in ms from the start of navigation.

With --profile, each is then loaded again under the DevTools trace, and the medians of the
processor time (thread time, which the machine's other work disturbs less than wall time) up to
the first paint are given by step: the main thread in all and its parse (HTML, and the page's
script within it), script, style, layout, paint and commit, and the raster workers' tiles.

    python3 bench/web/first_paint.py [path/to/plotara] [runs] [--before old/plotara] [--profile]
    # default build/apps/plotara, 11 runs
"""

import argparse
import json
import os
import random
import statistics
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "browser"))
import cdp  # noqa: E402

options = argparse.ArgumentParser()
options.add_argument("plotara", nargs="?", default=os.path.join(root, "build", "apps", "plotara"))
options.add_argument("runs", nargs="?", type=int, default=11)
options.add_argument("--before", help="an older plotara whose page is measured beside")
options.add_argument("--profile", action="store_true", help="also where the time goes")
args = options.parse_args()

# First contentful paint, the load event and when the figure's script has set it up (a dense
# chart's sets itself up after its first paint; null for pages without a chart).
MEASURE = ("new Promise(done => { const n = performance.getEntriesByType('navigation')[0];"
           " const ready = () => new Promise(up => { const f = document.querySelector("
           "'figure.plotara'); if (!f) return up(null); const seen = () =>"
           " f.hasAttribute('data-plotara-ready'); if (seen()) return up(0);"
           " new MutationObserver(() => seen() && up(performance.now())).observe(f,"
           " {attributes: true}); });"
           " new PerformanceObserver(list => { for (const e of list.getEntries())"
           " if (e.name === 'first-contentful-paint') ready().then(r =>"
           " done([e.startTime, n.loadEventStart, r])); })"
           ".observe({type: 'paint', buffered: true});"
           " setTimeout(() => done([null, n.loadEventStart, null]), 5000); })")
TRACE = "toplevel,blink.user_timing,devtools.timeline,disabled-by-default-devtools.timeline,blink,cc,loading"
STEPS = ["ParseHTML", "EvaluateScript", "UpdateLayoutTree", "Layout", "Paint", "Commit"]


def write_pages(work):
    rng = random.Random(7)
    csv, value = os.path.join(work, "line.csv"), 500.0
    with open(csv, "w") as f:
        f.write("x,value\n")
        for i in range(10000):
            value += rng.uniform(-5, 5)
            f.write("%d,%.2f\n" % (i, value))
    pages = {"text": os.path.join(work, "text.html")}
    with open(pages["text"], "w") as f:
        f.write("<!DOCTYPE html><title>t</title><p>One line of text.</p>")
    makers = [("html", args.plotara, ".html", []), ("svg", args.plotara, ".svg", []),
              ("html-no-zoom", args.plotara, ".html", ["--html-no-zoom"])]
    if args.before:
        makers.append(("html-before", args.before, ".html", []))
    for kind, program, extension, extra in makers:
        pages[kind] = os.path.join(work, kind + extension)
        subprocess.run([program, "render", "--type", "line2d", "--csv", csv, "--width", "800",
                        "--height", "500", "-o", pages[kind]] + extra, check=True,
                       stderr=subprocess.DEVNULL)
    return pages


def traced_load(browser, page):
    """Thread time in ms by step from the start of navigation to the first paint, or None."""
    browser.open("about:blank")
    browser.send("Tracing.start", categories=TRACE, transferMode="ReportEvents")
    browser.open(page)
    browser.pump(1.5)
    mark = len(browser.events)
    browser.send("Tracing.end")
    browser.wait_event("Tracing.tracingComplete", since=mark, timeout=60)
    events = [e for m in browser.events if m["method"] == "Tracing.dataCollected"
              for e in m["params"]["value"]]
    browser.events.clear()
    starts = [e for e in events if e.get("name") == "navigationStart"
              and "file:" in json.dumps(e.get("args", {}))]
    if not starts:
        return None
    start = starts[-1]["ts"]
    paints = [e for e in events if e.get("name") == "firstContentfulPaint" and e["ts"] >= start]
    if not paints:
        return None
    paint = min(paints, key=lambda e: e["ts"])
    renderer = paint["pid"]
    names = {(e["pid"], e["tid"]): e["args"]["name"] for e in events
             if e.get("ph") == "M" and e.get("name") == "thread_name"}
    steps = dict.fromkeys(STEPS + ["main", "raster"], 0.0)
    for e in events:
        if e.get("ph") != "X" or e["pid"] != renderer or not start <= e["ts"] <= paint["ts"]:
            continue
        on_main = names.get((e["pid"], e["tid"])) == "CrRendererMain"
        if on_main and e["name"] in STEPS:
            steps[e["name"]] += e.get("tdur", 0) / 1000
        elif on_main and e["name"] == "ThreadControllerImpl::RunTask":
            steps["main"] += e.get("tdur", 0) / 1000
        elif e["name"] == "RasterTask":
            steps["raster"] += e.get("tdur", 0) / 1000
    return steps


with tempfile.TemporaryDirectory() as work, cdp.Browser(800, 500) as browser:
    pages = write_pages(work)
    times = {kind: [] for kind in pages}
    rng = random.Random(7)
    for run in range(args.runs + 1):
        for kind in rng.sample(sorted(pages), len(pages)):
            browser.open("about:blank")
            browser.open(pages[kind])
            paint, load, ready = browser.eval(MEASURE)
            if run:
                # Ready at 0: set up before the first paint.
                ready = None if ready is None or paint is None else max(paint, ready)
                times[kind].append((paint, load, ready))
    print("load average %.2f %.2f %.2f (2 cores)" % os.getloadavg())
    for kind, rows in times.items():
        paints = [paint for paint, _, _ in rows if paint is not None]  # none: no paint in 5 s
        readies = [ready for _, _, ready in rows if ready is not None]
        print("%-12s %8d bytes  first paint %6.1f ms  load %6.1f ms  ready %s  (median of %d)" % (
            kind, os.path.getsize(pages[kind]), statistics.median(paints),
            statistics.median(load for _, load, _ in rows),
            "%6.1f ms" % statistics.median(readies) if readies else "     -   ", len(paints)))
    if args.profile:
        print("thread time (ms) up to the first paint, medians; parse holds the page's script")
        print("%-12s %6s %6s %6s %6s %6s %6s %6s %7s" % (
            "", "main", "parse", "script", "style", "layout", "paint", "commit", "raster"))
        for kind in sorted(pages):
            browser.open(pages[kind])
            rows = [r for r in (traced_load(browser, pages[kind]) for _ in range(args.runs)) if r]
            if not rows:
                continue
            print("%-12s" % kind + "".join(
                " %6.1f" % statistics.median(r[step] for r in rows)
                for step in ["main"] + STEPS) + " %7.1f  (%d traces)" % (
                    statistics.median(r["raster"] for r in rows), len(rows)))
