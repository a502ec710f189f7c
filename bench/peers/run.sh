#!/usr/bin/env bash
# The command line against gnuplot and matplotlib: the five reference workloads (12-category
# column, 4 x 1,000 line, 2 x 15,000 scatter, 8-slice pie, 5 x 50 stacked column), 640 x 480 PNG
# and SVG from CSV, each tool run as a whole process five times per format (in rounds: one run of
# every tool and format, then the next round); the median wall time and peak memory of each, and
# a row of 500 charts drawn in one process, go into the section "Command line against gnuplot
# and matplotlib" of docs/performance.md.
#
#   apt-get install gnuplot-nox python3-matplotlib time # the peers, for this script only
#   bash bench/peers/run.sh [path/to/plotara]          # default build/apps/plotara
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
plotara=${1:-$root/build/apps/plotara}
python=/usr/bin/python3 # Debian's, which has python3-matplotlib
runs=${RUNS:-5}
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
# measure CMD...: runs CMD $runs times under /usr/bin/time; prints "<median ms> <median peak MiB>".
measure() {
  local times=() peaks=() start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
    peaks+=($(($(tail -n 1 "$work/peak") / 1024)))
  done
  local mid=$(((runs + 1) / 2))
  echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "${mid}p")" \
    "$(printf '%s\n' "${peaks[@]}" | sort -n | sed -n "${mid}p")"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1fx", (b > 0 ? a / b : 0) }'; }

# race NAME... : runs the commands named (an array cmd_NAME each) in turn, one run of each per
# round, $runs rounds, so that a change in the machine's load falls on every tool alike; sets
# wall[NAME] and peak[NAME] to the medians.
declare -A wall peak
race() {
  local -A walls=() peaks=()
  local name start end mid=$(((runs + 1) / 2))
  for ((i = 0; i < runs; i++)); do
    for name in "$@"; do
      local -n cmd="cmd_$name"
      start=$(date +%s%N)
      /usr/bin/time -f %M -o "$work/peak" "${cmd[@]}" >/dev/null 2>&1 ||
        { echo "failed: ${cmd[*]}" >&2; exit 1; }
      unset -n cmd
      end=$(date +%s%N)
      walls[$name]+=" $(((end - start) / 1000000))"
      peaks[$name]+=" $(($(tail -n 1 "$work/peak") / 1024))"
    done
  done
  for name in "$@"; do
    wall[$name]=$(printf '%s\n' ${walls[$name]} | sort -n | sed -n "${mid}p")
    peak[$name]=$(printf '%s\n' ${peaks[$name]} | sort -n | sed -n "${mid}p")
  done
}

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
table="| Workload (640 x 480 from CSV) | plotara PNG | gnuplot PNG | matplotlib PNG | plotara SVG | gnuplot SVG | matplotlib SVG | plotara peak | gnuplot peak | matplotlib peak |
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
  pp=${wall[pp]} ps=${wall[ps]} gp=${wall[gp]} gs=${wall[gs]} mp=${wall[mp]} ms=${wall[ms]}
  pm=${peak[pp]} psm=${peak[ps]} gm=${peak[gp]} gsm=${peak[gs]} mm=${peak[mp]} msm=${peak[ms]}
  # Peak memory: the larger of each tool's two runs.
  ppeak=$((pm > psm ? pm : psm)) gpeak=$((gm > gsm ? gm : gsm)) mpeak=$((mm > msm ? mm : msm))
  table+=$'\n'"| ${label[$w]} | $pp ms | $gp ms | $mp ms | $ps ms | $gs ms | $ms ms | $ppeak MiB | $gpeak MiB | $mpeak MiB |"
  ratios+=$'\n'"| ${label[$w]} | $(ratio "$gp" "$pp") | $(ratio "$gs" "$ps") | $(ratio "$mp" "$pp") | $(ratio "$ms" "$ps") |"
  echo "${label[$w]}: PNG plotara $pp, gnuplot $gp, matplotlib $mp ms; SVG plotara $ps, gnuplot $gs," \
    "matplotlib $ms ms; peak plotara $ppeak, gnuplot $gpeak, matplotlib $mpeak MiB"
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
saved_runs=$runs
runs=${BATCH_RUNS:-3}
read -r bp bm < <(measure "$plotara" batch "$work/jobs.jsonl")
read -r bg bgm < <(measure gnuplot "$work/batch.gp")
runs=1 # matplotlib takes minutes for the batch: one run
read -r bmpl bmm < <(measure "$python" "$work/mpl-batch.py" "$work/column.csv" "$work/m" "$charts")
runs=$saved_runs
rate() { awk -v n="$charts" -v ms="$1" 'BEGIN { printf "%.0f", n * 1000 / ms }'; }
batch="| $charts column charts, PNG, one process | $bp ms ($(rate "$bp") charts/s, $bm MiB) | $bg ms ($(rate "$bg") charts/s, $bgm MiB) | $bmpl ms ($(rate "$bmpl") charts/s, $bmm MiB) |"
echo "batch: plotara $bp ms, gnuplot $bg ms, matplotlib $bmpl ms"

# The fixed cost of a plotara process: start-up alone, and a chart of one bar (fonts, the
# control, the player, PNG encoding).
printf 'm,v\nA,1\n' >"$work/one.csv"
read -r startup _ < <(measure "$plotara" types)
read -r onebar _ < <(measure "$plotara" render --type column2d --csv "$work/one.csv" -o "$work/one.png")
echo "plotara start-up $startup ms, one-bar chart $onebar ms"

# --- the table into docs/performance.md ----------------------------------------------------------
doc=$root/docs/performance.md
heading="## Command line against gnuplot and matplotlib"
versions="$(gnuplot --version), matplotlib $("$python" -c 'import matplotlib; print(matplotlib.__version__)'), $(date -u +%Y-%m-%d)"
section="$heading

\`bench/peers/run.sh\` runs each workload as a whole process (start-up, reading the CSV, drawing,
writing the file), $runs times per tool and format in rounds (one run of every tool and format
per round, so that a change in the machine's load falls on all of them alike), and keeps the
median wall time and the median peak resident memory (\`/usr/bin/time\`; the table gives the larger of a tool's PNG and SVG
peaks). The peers come from Debian and are needed by this script only:

    apt-get install gnuplot-nox python3-matplotlib time
    bash bench/peers/run.sh            # uses build/apps/plotara; rewrites this section

Last run: $versions, $(nproc) cores, on the shared development machine.

$table

How many times faster plotara was, in the same run:

$ratios

Many charts in one process (median of 3 runs for plotara and gnuplot, one run for matplotlib; plotara with \`plotara batch\` and its default pool of
worker threads, gnuplot with one script of $charts plots, matplotlib with one loop of $charts figures):

| Workload | plotara batch | gnuplot | matplotlib |
|---|---|---|---|
$batch

A plotara process that draws nothing (\`plotara types\`) takes $startup ms and one with a one-bar
chart $onebar ms, so most of the small workloads' time is the fixed cost of starting the program
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
