#!/usr/bin/env bash
# Checks that no function of the chart player is longer than about a screen: clang-tidy's
# readability-function-size with a line limit, over every player/ source, against the compile
# commands of a configured build tree.
#   scripts/check-function-size.sh [BUILD_DIR]   (default build; PLOTARA_FUNCTION_LINES=80)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
limit=${PLOTARA_FUNCTION_LINES:-80}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-function-size: $build/compile_commands.json is missing; configure $build first" >&2
  exit 2
fi
config="{Checks: '-*,readability-function-size', WarningsAsErrors: 'readability-function-size',
  CheckOptions: [{key: readability-function-size.LineThreshold, value: $limit}]}"
git ls-files 'player/*.cpp' |
  xargs -r -n 4 -P "$(nproc)" clang-tidy -p "$build" --quiet --config="$config" \
    --header-filter="^$PWD/player/"
