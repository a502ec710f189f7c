#!/usr/bin/env bash
# The command line against gnuplot and matplotlib: the five reference workloads (12-category
# column, 4 x 1,000 line, 2 x 15,000 scatter, 8-slice pie, 5 x 50 stacked column), 640 x 480 PNG
# and SVG from CSV, each tool run as a whole process, side by side in rounds (bench/peers/race.py:
# one run of every tool and format per round, in an order shuffled each round, after one warm-up
# round that is not counted); the median wall time, CPU time and peak memory of each, and a row
# of 500 charts drawn in one process, go into the section "Command line against gnuplot and
# matplotlib" of docs/performance.md.
#
#   apt-get install gnuplot-nox python3-matplotlib time # the peers, for this script only
#   bash bench/peers/run.sh [path/to/plotara]          # default build/apps/plotara
#   RUNS=5 bash bench/peers/run.sh                      # fewer rounds (default 11)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
plotara=${1:-$root/build/apps/plotara}
python=/usr/bin/python3 # Debian's, which has python3-matplotlib
runs=${RUNS:-11}
race=$root/bench/peers/race.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in "$plotara" gnuplot "$python" /usr/bin/time; do
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
# race [--runs N] [--warmup W] NAME...: runs the commands named (an array cmd_NAME each) side by
# side with race.py ($runs counted rounds unless told); sets wall[NAME], cpu[NAME] (medians, ms)
# and peak[NAME] (MiB).
declare -A wall cpu peak
race() {
  local options=(--runs "$runs") name line w c p
  while [[ $1 == --* ]]; do options+=("$1" "$2"); shift 2; done
  local specs=()
  for name in "$@"; do
    local -n cmd="cmd_$name"
    printf -v line '%q ' "${cmd[@]}"
    unset -n cmd
    specs+=("$name=$line")
  done
  local output
  output=$("$python" "$race" "${options[@]}" "${specs[@]}") || exit 1
  while read -r name w c p; do # w, c, p are local: the caller loops over w
    wall[$name]=$w cpu[$name]=$c peak[$name]=$p
  done <<<"$output"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1fx", (b > 0 ? a / b : 0) }'; }
# cell NAME: "wall (CPU) ms" of a command raced.
cell() { echo "${wall[$1]} (${cpu[$1]}) ms"; }

# Each tool writes its SVG with the same script: gnuplot's terminal and matplotlib's file name
# decide the format.
for w in column line scatter pie stacked; do
  sed -e 's/set terminal pngcairo/set terminal svg/' -e "s/g-$w.png/g-$w.svg/" "$work/$w.gp" \
    >"$work/$w-svg.gp"
done

declare -A type=([column]=column2d [line]=msline2d [scatter]=scatter [pie]=pie2d
  [stacked]=stackedcolumn2d)
declare -A label=([column]="12-category column" [line]="4 x 1,000 line"
  [scatter]="2 x 15,000 scatter" [pie]="8-slice pie" [stacked]="5 x 50 stacked column")
table="| Workload (640 x 480 from CSV), wall (CPU) | plotara PNG | gnuplot PNG | matplotlib PNG | plotara SVG | gnuplot SVG | matplotlib SVG | plotara peak | gnuplot peak | matplotlib peak |
|---|---|---|---|---|---|---|---|---|---|"
ratios="| Workload | gnuplot / plotara, PNG | gnuplot / plotara, SVG | matplotlib / plotara, PNG | matplotlib / plotara, SVG |
|---|---|---|---|---|"
for w in column line scatter pie stacked; do
  cmd_pp=("$plotara" render --type "${type[$w]}" --csv "$work/$w.csv" -o "$work/p-$w.png")
  cmd_ps=("$plotara" render --type "${type[$w]}" --csv "$work/$w.csv" -o "$work/p-$w.svg")
  cmd_gp=(gnuplot "$work/$w.gp")
  cmd_gs=(gnuplot "$work/$w-svg.gp")
  cmd_mp=("$python" "$work/mpl.py" "$w" "$work/$w.csv" "$work/m-$w.png")
  cmd_ms=("$python" "$work/mpl.py" "$w" "$work/$w.csv" "$work/m-$w.svg")
  race pp ps gp gs mp ms
  pm=${peak[pp]} psm=${peak[ps]} gm=${peak[gp]} gsm=${peak[gs]} mm=${peak[mp]} msm=${peak[ms]}
  # Peak memory: the larger of each tool's two runs.
  ppeak=$((pm > psm ? pm : psm)) gpeak=$((gm > gsm ? gm : gsm)) mpeak=$((mm > msm ? mm : msm))
  table+=$'\n'"| ${label[$w]} | $(cell pp) | $(cell gp) | $(cell mp) | $(cell ps) | $(cell gs) | $(cell ms) | $ppeak MiB | $gpeak MiB | $mpeak MiB |"
  ratios+=$'\n'"| ${label[$w]} | $(ratio "${wall[gp]}" "${wall[pp]}") | $(ratio "${wall[gs]}" "${wall[ps]}") | $(ratio "${wall[mp]}" "${wall[pp]}") | $(ratio "${wall[ms]}" "${wall[ps]}") |"
  echo "${label[$w]}: PNG plotara $(cell pp), gnuplot $(cell gp), matplotlib $(cell mp);" \
    "SVG plotara $(cell ps), gnuplot $(cell gs), matplotlib $(cell ms);" \
    "peak plotara $ppeak, gnuplot $gpeak, matplotlib $mpeak MiB"
done

# --- batch: 500 column charts, PNG, each tool in one process ------------------------------------
charts=500
: >"$work/jobs.jsonl"
printf 'set terminal pngcairo size 640,480; set datafile separator ","; set key autotitle columnhead\nset style fill solid; set boxwidth 0.7\n' >"$work/batch.gp"
for ((i = 0; i < charts; i++)); do
  printf '{"type":"column2d","csv":"%s","output":"%s"}\n' "$work/column.csv" "$work/b$i.png" >>"$work/jobs.jsonl"
  printf 'set output "%s"; plot "%s" using 0:2:xtic(1) with boxes\n' "$work/g$i.png" "$work/column.csv" >>"$work/batch.gp"
done
cat >"$work/mpl-batch.py" <<'PY2'
import csv, sys
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
path, out, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
for i in range(n):
    with open(path) as f:
        rows = list(csv.reader(f))
    fig, ax = plt.subplots(figsize=(6.4, 4.8), dpi=100)
    ax.bar([r[0] for r in rows[1:]], [float(r[1]) for r in rows[1:]])
    fig.savefig(f"{out}{i}.png")
    plt.close(fig)
PY2
cmd_bp=("$plotara" batch "$work/jobs.jsonl")
cmd_bg=(gnuplot "$work/batch.gp")
cmd_bm=("$python" "$work/mpl-batch.py" "$work/column.csv" "$work/m" "$charts")
race --runs "${BATCH_RUNS:-3}" bp bg
# matplotlib takes minutes for the batch: one run, without a warm-up.
race --runs 1 --warmup 0 bm
rate() { awk -v n="$charts" -v ms="$1" 'BEGIN { printf "%.0f", n * 1000 / ms }'; }
batchCell() { echo "$(cell "$1") ($(rate "${wall[$1]}") charts/s, ${peak[$1]} MiB)"; }
batch="| $charts column charts, PNG, one process | $(batchCell bp) | $(batchCell bg) | $(batchCell bm) |"
echo "batch: plotara $(cell bp), gnuplot $(cell bg), matplotlib $(cell bm)"

# The fixed cost of a plotara process: start-up alone, and a chart of one bar (fonts, the
# control, the player, PNG encoding).
printf 'm,v\nA,1\n' >"$work/one.csv"
cmd_st=("$plotara" types)
cmd_ob=("$plotara" render --type column2d --csv "$work/one.csv" -o "$work/one.png")
race st ob
echo "plotara start-up $(cell st), one-bar chart $(cell ob)"

# --- the table into docs/performance.md ----------------------------------------------------------
doc=$root/docs/performance.md
heading="## Command line against gnuplot and matplotlib"
versions="$(gnuplot --version), matplotlib $("$python" -c 'import matplotlib; print(matplotlib.__version__)'), $(date -u +%Y-%m-%d)"
section="$heading

\`bench/peers/run.sh\` runs each workload as a whole process (start-up, reading the CSV, drawing,
writing the file), side by side in rounds with \`bench/peers/race.py\`: one run of every tool and
format per round, so that a change in the machine's load falls on all of them alike, in an order
shuffled each round (with a fixed seed) so that no run always follows the same neighbour, after
one warm-up round that is not counted; then $runs counted rounds. Each cell gives the median
wall time (\`perf_counter_ns\` around spawning and reaping the process) and in brackets the
median CPU time (user + system, from \`wait4\`, to the microsecond), which the machine's other
work disturbs less; the peaks are resident memory from the warm-up
run under \`/usr/bin/time\` (the larger of a tool's PNG and SVG peaks). The peers come from Debian
and are needed by this script only:

    apt-get install gnuplot-nox python3-matplotlib time
    bash bench/peers/run.sh            # uses build/apps/plotara; rewrites this section

Last run: $versions, $(nproc) cores, on the shared development machine.

$table

How many times faster plotara was, in the same run:

$ratios

Many charts in one process, wall (CPU) (median of ${BATCH_RUNS:-3} rounds for plotara and gnuplot, one run
for matplotlib; plotara with \`plotara batch\` and its default pool of worker threads, gnuplot with
one script of $charts plots, matplotlib with one loop of $charts figures):

| Workload | plotara batch | gnuplot | matplotlib |
|---|---|---|---|
$batch

A plotara process that draws nothing (\`plotara types\`) takes $(cell st) and one with a one-bar
chart $(cell ob) (PNG), so most of the small workloads' time is the fixed cost of starting the program
and loading fonts; the drawing itself is measured in process by \`bench/player_render_bench.cpp\`
(see the chart player's figures).
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
