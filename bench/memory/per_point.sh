#!/usr/bin/env bash
# Peak memory per chart point: renders column, line and scatter documents of N sets each to a
# 640 x 480 PNG and prints the peak resident size (/usr/bin/time -v), the bytes per set and the
# ratio of the peak to the document's size, for two routes:
#   render  `plotara render --xml DOC -o out.png` (the command line)
#   host    bench/memory/host_render (a host program: the document as one wide String handed to
#           the control's setDataXML, the chart written through the player)
#
#   bash bench/memory/per_point.sh [BUILD_DIR] [SETS...]    # default: build, 100000 1000000
#
# The host program is built with the benchmarks (-DPLOTARA_BENCH=ON); without it that route is
# left out. Peaks include the process's fixed baseline, which the "empty" row measures (a
# one-set document).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000)
plotara=$build/apps/plotara
host=$build/bench/plotara_host_render
[ -x "$plotara" ] || { echo "missing: $plotara" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "missing: /usr/bin/time (apt-get install time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# column2d and line2d: one set per point with a label and a value; scatter: two datasets of
# x/y sets, half the points each.
make_doc() { # kind sets file
  awk -v kind="$1" -v n="$2" 'BEGIN {
    srand(7)
    if (kind == "scatter") {
      printf "<chart caption=\"Memory\">"
      for (d = 0; d < 2; d++) {
        printf "<dataset seriesName=\"S%d\">", d
        for (i = 0; i < n / 2; i++) printf "<set x=\"%.3f\" y=\"%.3f\"/>", rand() * 100, rand() * 100
        printf "</dataset>"
      }
      print "</chart>"
    } else {
      printf "<chart caption=\"Memory\">"
      for (i = 0; i < n; i++) printf "<set label=\"L%d\" value=\"%d\"/>", i, 100 + int(rand() * 900)
      print "</chart>"
    }
  }' >"$3"
}

type_of() { case $1 in column) echo column2d ;; line) echo line2d ;; scatter) echo scatter ;; esac; }

# Peak resident size in KiB of a command.
peak_kib() {
  /usr/bin/time -v "$@" 2>"$work/time.txt" >/dev/null || { cat "$work/time.txt" >&2; exit 1; }
  awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$work/time.txt"
}

run() { # route kind doc
  local type
  type=$(type_of "$2")
  if [ "$1" = render ]; then
    peak_kib "$plotara" render --type "$type" --xml "$3" -o "$work/out.png" --width 640 --height 480
  else
    peak_kib "$host" "$type" "$3" "$work/out.png" 640 480
  fi
}

routes=(render)
[ -x "$host" ] && routes+=(host)
printf '%-7s %-8s %9s %10s %10s %10s %7s\n' route kind sets doc_bytes peak_KiB B_per_set ratio
for kind in column line scatter; do
  make_doc "$kind" 1 "$work/one.xml"
  for route in "${routes[@]}"; do
    base=$(run "$route" "$kind" "$work/one.xml")
    printf '%-7s %-8s %9s %10s %10s %10s %7s\n' "$route" "$kind" empty - "$base" - -
    for n in "${sizes[@]}"; do
      make_doc "$kind" "$n" "$work/doc.xml"
      bytes=$(stat -c %s "$work/doc.xml")
      kib=$(run "$route" "$kind" "$work/doc.xml")
      awk -v r="$route" -v k="$kind" -v n="$n" -v b="$bytes" -v p="$kib" 'BEGIN {
        printf "%-7s %-8s %9d %10d %10d %10.0f %7.1f\n", r, k, n, b, p, p * 1024 / n, p * 1024 / b }'
    done
  done
done
