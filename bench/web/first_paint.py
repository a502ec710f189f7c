#!/usr/bin/env python3
"""How soon headless Chromium shows a 10,000-point line page: the page `plotara render -o x.html`
writes, the SVG file of the same chart and a page of one line of text (what the browser itself
takes), loaded in turn in one browser in an order shuffled each round (one warm-up round, not
counted); the median of first contentful paint and of the load event, in ms from the start of
navigation.

    python3 bench/web/first_paint.py [path/to/plotara] [runs]   # default build/apps/plotara, 11
"""

import os
import random
import statistics
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(root, "tests", "browser"))
import cdp  # noqa: E402

plotara = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "apps", "plotara")
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 11
MEASURE = ("new Promise(done => { const n = performance.getEntriesByType('navigation')[0];"
           " new PerformanceObserver(list => { for (const e of list.getEntries())"
           " if (e.name === 'first-contentful-paint') done([e.startTime, n.loadEventStart]); })"
           ".observe({type: 'paint', buffered: true});"
           " setTimeout(() => done([null, n.loadEventStart]), 5000); })")

with tempfile.TemporaryDirectory() as work, cdp.Browser(800, 500) as browser:
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
    for kind in ("html", "svg"):
        pages[kind] = os.path.join(work, "line." + kind)
        subprocess.run([plotara, "render", "--type", "line2d", "--csv", csv, "--width", "800",
                        "--height", "500", "-o", pages[kind]], check=True)
    times = {kind: [] for kind in pages}
    for run in range(runs + 1):
        for kind in rng.sample(sorted(pages), len(pages)):
            browser.open("about:blank")
            browser.open(pages[kind])
            paint, load = browser.eval(MEASURE)
            if run:
                times[kind].append((paint, load))
    for kind, rows in times.items():
        paints = [paint for paint, _ in rows if paint is not None]  # none: no paint in 5 s
        print("%-4s %8d bytes  first paint %6.1f ms  load %6.1f ms  (median of %d)" % (
            kind, os.path.getsize(pages[kind]), statistics.median(paints),
            statistics.median(load for _, load in rows), len(paints)))
