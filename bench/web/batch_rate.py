#!/usr/bin/env python3
"""How fast `plotara batch` writes web pages against SVG files of the same charts: one job file
per format (the same charts, only the output's extension differs), each run as a whole process in
turn, in an order shuffled each round (one warm-up round, not counted); the median wall and CPU
time (user + system of the process and its workers) and the charts a second; pages as a batch
writes them (no zoom windows) and with the zoom windows ("html-zoom": true). Two workloads: 500
column charts of 12 categories, and 20 line charts of 10,000 points (dense pages carry their
points as data).

    python3 bench/web/batch_rate.py [path/to/plotara] [rounds] [workers]   # build/apps/plotara, 11, 1
"""

import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
plotara = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "apps", "plotara")
rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 11
workers = sys.argv[3] if len(sys.argv) > 3 else "1"


def write_csvs(work):
    column = os.path.join(work, "sales.csv")
    with open(column, "w") as f:
        f.write("month,units\n")
        for m, month in enumerate("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()):
            f.write("%s,%d\n" % (month, (m * 37 + 11) % 90 + 5))
    line, rng, value = os.path.join(work, "line.csv"), random.Random(7), 500.0
    with open(line, "w") as f:
        f.write("x,value\n")
        for i in range(10000):
            value += rng.uniform(-5, 5)
            f.write("%d,%.2f\n" % (i, value))
    return {"column": ("column2d", column, 500, 640, 480), "line": ("line2d", line, 20, 800, 500)}


# The outputs compared: their file extension and the job fields they add.
FORMATS = {"svg": (".svg", ""), "html": (".html", ""),
           "html-zoom": (".html", ',"html-zoom":true')}


def write_jobs(work, workload, spec, form):
    kind, csv, charts, width, height = spec
    extension, fields = FORMATS[form]
    out = os.path.join(work, workload + "-" + form)
    os.makedirs(out, exist_ok=True)
    jobs = os.path.join(work, "%s-%s.jsonl" % (workload, form))
    with open(jobs, "w") as f:
        for i in range(charts):
            f.write('{"type":"%s","csv":"%s","output":"%s","width":%d,"height":%d,'
                    '"param":{"caption":"Chart %d"}%s}\n'
                    % (kind, csv, os.path.join(out, "c%d%s" % (i, extension)), width, height, i,
                       fields))
    return jobs, os.path.join(out, "c0" + extension)


def run(jobs):
    """Wall and CPU seconds of one `plotara batch` process."""
    start = time.perf_counter()
    child = subprocess.Popen([plotara, "batch", "--jobs", workers, jobs],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit("plotara batch failed on " + jobs)
    return wall, usage.ru_utime + usage.ru_stime


with tempfile.TemporaryDirectory() as work:
    specs = write_csvs(work)
    cases = {}
    for workload, spec in specs.items():
        for form in FORMATS:
            cases[(workload, form)] = write_jobs(work, workload, spec, form)
    times = {case: [] for case in cases}
    rng = random.Random(7)
    for r in range(rounds + 1):
        for case in rng.sample(sorted(cases), len(cases)):
            result = run(cases[case][0])
            if r:
                times[case].append(result)
    print("plotara batch, %d worker(s), median of %d rounds; load average %.2f %.2f %.2f"
          % (int(workers), rounds, *os.getloadavg()))
    for workload, spec in specs.items():
        charts = spec[2]
        rates = {}
        for form in FORMATS:
            rows = times[(workload, form)]
            wall = statistics.median(w for w, _ in rows)
            cpu = statistics.median(c for _, c in rows)
            rates[form] = (charts / wall, charts / cpu)
            print("%-6s %-11s %4d charts  wall %7.1f ms (%6.0f charts/s)  CPU %7.1f ms "
                  "(%6.0f charts/s)  %8d bytes a file" % (
                      workload, form, charts, wall * 1000, charts / wall, cpu * 1000,
                      charts / cpu, os.path.getsize(cases[(workload, form)][1])))
        for form in ("html", "html-zoom"):
            print("%-6s %s / svg rate: wall %.2f, CPU %.2f (0.80 or more holds)" % (
                workload, form, rates[form][0] / rates["svg"][0],
                rates[form][1] / rates["svg"][1]))
