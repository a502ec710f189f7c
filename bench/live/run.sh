#!/usr/bin/env bash
# Live updates in a window, Plotara's widget against Qt Charts (bench/live/live_updates.cpp):
# installs Qt Charts for this benchmark only (it is no dependency of Plotara; its CMake package
# also needs Qt OpenGL's development files), builds the
# benchmark in the build tree and runs it. The figures go into docs/desktop.md ("Live updates")
# by hand.
#
#   bash bench/live/run.sh [build]            # the race: median frames/s of 3 rounds of 150 frames
#   bash bench/live/run.sh [build] --paint-threads  # the race with a two-paint-thread contender
#   bash bench/live/run.sh [build] --memory   # 100,000 updates, resident memory must stay flat
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build
if [[ $# -gt 0 && $1 != --* ]]; then build=$1; shift; fi

if ! dpkg -s qt6-charts-dev libqt6opengl6-dev >/dev/null 2>&1; then
  if [[ $(id -u) -eq 0 ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y qt6-charts-dev libqt6opengl6-dev
  else
    echo "missing: qt6-charts-dev (apt-get install qt6-charts-dev libqt6opengl6-dev, for this benchmark only)" >&2
    exit 2
  fi
fi
# Configured again so that the benchmark target appears now that Qt Charts is installed.
cmake -S "$root" -B "$build" -DPLOTARA_BENCH=ON >/dev/null
cmake --build "$build" --parallel 2 --target plotara_live_bench
QT_QPA_PLATFORM=offscreen "$build/bench/plotara_live_bench" "$@"
