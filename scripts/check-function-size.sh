#!/usr/bin/env bash
# Checks that no function is longer than about a screen: clang-tidy's readability-function-size
# with a line limit, over every source of the library, the desktop and the command line (the
# tests are not checked), against the compile commands of a configured build tree.
#   scripts/check-function-size.sh [BUILD_DIR] [FOLDER...]
#   (default build and every folder; PLOTARA_FUNCTION_LINES=80)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift $(($# > 0 ? 1 : 0))
folders=("$@")
[ ${#folders[@]} -gt 0 ] || folders=(core platform data control designer player desktop apps)
limit=${PLOTARA_FUNCTION_LINES:-80}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-function-size: $build/compile_commands.json is missing; configure $build first" >&2
  exit 2
fi
config="{Checks: '-*,readability-function-size', WarningsAsErrors: 'readability-function-size',
  CheckOptions: [{key: readability-function-size.LineThreshold, value: $limit}]}"
pattern=$(IFS='|'; echo "${folders[*]}")
# Only sources the build compiles (the Qt ones need Qt, the ODBC ones unixODBC).
compiled=$(grep -o '"file": *"[^"]*"' "$build/compile_commands.json" |
  sed 's/.*"\([^"]*\)"$/\1/; s|^'"$PWD"'/||')
git ls-files "${folders[@]/%//*.cpp}" | grep -Fx -f <(echo "$compiled") |
  xargs -r -n 4 -P "$(nproc)" clang-tidy -p "$build" --quiet --config="$config" \
    --header-filter="^$PWD/($pattern)/"
