#!/usr/bin/env bash
# The command line against gnuplot and matplotlib: the five reference workloads (12-category
# column, 4 x 1,000 line, 2 x 15,000 scatter, 8-slice pie, 5 x 50 stacked column), 640 x 480 PNG
# from CSV, each tool run as a whole process five times; the median wall time of each goes into
# the table of docs/performance.md ("Command line against gnuplot and matplotlib").
#
#   apt-get install gnuplot-nox python3-matplotlib     # the peers, for this script only
#   bash bench/peers/run.sh [path/to/plotara]          # default build/apps/plotara
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
plotara=${1:-$root/build/apps/plotara}
python=/usr/bin/python3 # Debian's, which has python3-matplotlib
runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in "$plotara" gnuplot "$python"; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
"$python" -c 'import matplotlib' 2>/dev/null || { echo "missing: python3-matplotlib" >&2; exit 2; }

# --- data: the same CSV files for every tool (fixed seeds) ------------------------------------
awk 'BEGIN { srand(1); print "month,sales";
  split("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec", m, " ");
  for (i = 1; i <= 12; i++) printf "%s,%d\n", m[i], 100 + int(rand() * 900) }' >"$work/column.csv"
awk 'BEGIN { srand(2); print "x,s1,s2,s3,s4"; for (s = 1; s <= 4; s++) v[s] = 100 * s;
  for (i = 1; i <= 1000; i++) { printf "%d", i;
    for (s = 1; s <= 4; s++) { v[s] += rand() * 10 - 5; printf ",%.2f", v[s] } print "" } }' \
  >"$work/line.csv"
awk 'BEGIN { srand(3); print "x,a,b";
  for (i = 1; i <= 15000; i++) printf "%.3f,%.3f,%.3f\n", rand() * 100, rand() * 100, 50 + rand() * 50 }' \
  >"$work/scatter.csv"
awk 'BEGIN { srand(4); print "slice,value";
  for (i = 1; i <= 8; i++) printf "S%d,%d\n", i, 10 + int(rand() * 90) }' >"$work/pie.csv"
awk 'BEGIN { srand(5); print "c,a,b,c2,d,e";
  for (i = 1; i <= 50; i++) { printf "C%d", i; for (s = 1; s <= 5; s++) printf ",%d", 5 + int(rand() * 50); print "" } }' \
  >"$work/stacked.csv"

# --- the peers' scripts ------------------------------------------------------------------------
gp_head='set terminal pngcairo size 640,480; set datafile separator ","; set key autotitle columnhead'
cat >"$work/column.gp" <<GP
$gp_head; set output "$work/g-column.png"; set style fill solid; set boxwidth 0.7
plot "$work/column.csv" using 0:2:xtic(1) with boxes
GP
cat >"$work/line.gp" <<GP
$gp_head; set output "$work/g-line.png"
plot for [c=2:5] "$work/line.csv" using 1:c with lines
GP
cat >"$work/scatter.gp" <<GP
$gp_head; set output "$work/g-scatter.png"
plot "$work/scatter.csv" using 1:2 with points pt 7 ps 0.4, "" using 1:3 with points pt 7 ps 0.4
GP
cat >"$work/pie.gp" <<GP
$gp_head; set output "$work/g-pie.png"
stats "$work/pie.csv" using 2 nooutput; total = STATS_sum; a = 0
set size square; unset border; unset tics; unset key
set xrange [-1.2:1.2]; set yrange [-1.2:1.2]; set style fill solid
plot "$work/pie.csv" using (0):(0):(1):(a):(a = a + 360 * \$2 / total):0 with circles lc variable
GP
cat >"$work/stacked.gp" <<GP
$gp_head; set output "$work/g-stacked.png"; set style data histograms
set style histogram rowstacked; set style fill solid; set boxwidth 0.8
plot for [c=2:6] "$work/stacked.csv" using c:xtic(1)
GP
cat >"$work/mpl.py" <<'PY'
import csv, sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
kind, path, out = sys.argv[1:4]
with open(path) as f:
    rows = list(csv.reader(f))
head, body = rows[0], rows[1:]
cols = [[r[i] for r in body] for i in range(len(head))]
num = lambda c: [float(v) for v in c]
fig, ax = plt.subplots(figsize=(6.4, 4.8), dpi=100)
if kind == "column":
    ax.bar(cols[0], num(cols[1]))
elif kind == "line":
    for i in range(1, len(head)):
        ax.plot(num(cols[0]), num(cols[i]), label=head[i])
    ax.legend()
elif kind == "scatter":
    for i in range(1, len(head)):
        ax.scatter(num(cols[0]), num(cols[i]), s=4, label=head[i])
    ax.legend()
elif kind == "pie":
    ax.pie(num(cols[1]), labels=cols[0])
elif kind == "stacked":
    bottom = [0.0] * len(body)
    for i in range(1, len(head)):
        v = num(cols[i])
        ax.bar(cols[0], v, bottom=bottom, label=head[i])
        bottom = [a + b for a, b in zip(bottom, v)]
    ax.legend()
fig.savefig(out)
PY

# --- timing --------------------------------------------------------------------------------------
median_ms() { # runs "$@" $runs times, prints the median wall time in milliseconds
  local times=() start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

declare -A type=([column]=column2d [line]=msline2d [scatter]=scatter [pie]=pie2d
  [stacked]=stackedcolumn2d)
declare -A label=([column]="12-category column" [line]="4 x 1,000 line"
  [scatter]="2 x 15,000 scatter" [pie]="8-slice pie" [stacked]="5 x 50 stacked column")
table="| Workload (640 x 480 PNG from CSV) | plotara render | gnuplot | matplotlib |
|---|---|---|---|"
for w in column line scatter pie stacked; do
  p=$(median_ms "$plotara" render --type "${type[$w]}" --csv "$work/$w.csv" -o "$work/p-$w.png")
  g=$(median_ms gnuplot "$work/$w.gp")
  m=$(median_ms "$python" "$work/mpl.py" "$w" "$work/$w.csv" "$work/m-$w.png")
  table+=$'\n'"| ${label[$w]} | $p ms | $g ms | $m ms |"
  echo "${label[$w]}: plotara $p ms, gnuplot $g ms, matplotlib $m ms"
done

# The fixed cost of a plotara process: start-up alone, and a chart of one bar (fonts, the
# control, the player, PNG encoding).
printf 'm,v\nA,1\n' >"$work/one.csv"
startup=$(median_ms "$plotara" types)
onebar=$(median_ms "$plotara" render --type column2d --csv "$work/one.csv" -o "$work/one.png")
echo "plotara start-up $startup ms, one-bar chart $onebar ms"

# --- the table into docs/performance.md ----------------------------------------------------------
doc=$root/docs/performance.md
heading="## Command line against gnuplot and matplotlib"
versions="$(gnuplot --version), matplotlib $("$python" -c 'import matplotlib; print(matplotlib.__version__)'), $(date -u +%Y-%m-%d)"
section="$heading

\`bench/peers/run.sh\` runs each workload as a whole process (start-up, reading the CSV, drawing,
writing the PNG), $runs times per tool, and keeps the median wall time. The peers come from Debian
and are needed by this script only:

    apt-get install gnuplot-nox python3-matplotlib
    bash bench/peers/run.sh            # uses build/apps/plotara; rewrites the table below

Last run: $versions, on the shared 2-core development machine.

$table

A plotara process that draws nothing (\`plotara types\`) takes $startup ms and one with a one-bar
chart $onebar ms, so most of the small workloads' time is the fixed cost of starting the program
and loading fonts; the drawing itself is measured in process by \`bench/player_render_bench.cpp\`
(see the chart player's figures), which is where the player's targets apply.
"
tmp=$(mktemp)
awk -v heading="$heading" '
  $0 == heading { skip = 1; next }
  skip && /^## / { skip = 0 }
  !skip { print }' "$doc" >"$tmp"
# Drops trailing blank lines, then appends the section.
sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' "$tmp" >"$doc"
printf '\n%s' "$section" >>"$doc"
rm -f "$tmp"
echo "table written to $doc"
