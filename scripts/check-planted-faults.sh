#!/usr/bin/env bash
# Plants each fault of tests/planted-faults.txt in turn, rebuilds only the test program that is
# to catch it, runs that program and says whether it failed (CAUGHT, with the failing tests) or
# passed (MISSED). Every source file is restored afterwards, also on an interrupt.
#   scripts/check-planted-faults.sh BUILD_DIR [FAULT_ID...]
#   scripts/check-planted-faults.sh --verify     (only checks that every text is in its file once)
# BUILD_DIR is a configured build tree (ccache advised; see docs/development.md). Exit status:
# 0 when every fault is caught, 1 when one is missed, 2 when the fault list is stale (a text to
# replace is not in its file exactly once, a planted fault does not compile, or a filter selects
# no test).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/check-planted-faults.sh BUILD_DIR|--verify [FAULT_ID...]}
shift
verify=false
[ "$build" = --verify ] && verify=true
list=tests/planted-faults.txt
timeout_seconds=${PLOTARA_FAULT_TIMEOUT:-900}
if ! $verify && [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  echo "check-planted-faults: $build is not a configured build tree" >&2
  exit 2
fi
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
planted="" # the file currently holding a fault
restore() {
  if [ -n "$planted" ]; then
    # A plain write gives the file a new time, so the next build compiles it again.
    cat "$work/original" >"$planted"
    planted=""
  fi
}
trap 'restore; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# Counts the occurrences of a literal text in a file, or replaces its one occurrence.
literal() { # mode file find [replace]
  MODE=$1 FIND=$3 REPLACE=${4-} perl -0777 -ne '
    my ($find, $with) = ($ENV{FIND}, $ENV{REPLACE});
    if ($ENV{MODE} eq "count") { my $n = () = /\Q$find\E/g; print $n; exit }
    my $at = index($_, $find);
    print substr($_, 0, $at), $with, substr($_, $at + length $find);' "$2"
}

stale() {
  echo "STALE    $1: $2" >&2
  exit 2
}

caught=0
missed=0
report=()
while IFS= read -r line || [ -n "$line" ]; do
  case $line in '' | '#'*) continue ;; esac
  # id @@ file @@ program [gtest filter] @@ text @@ replacement
  rest=$line
  fields=()
  while [[ $rest == *' @@ '* ]]; do
    fields+=("${rest%% @@ *}")
    rest=${rest#* @@ }
  done
  fields+=("$rest")
  [ ${#fields[@]} -eq 5 ] || stale "${fields[0]}" "expected 5 fields separated by ' @@ '"
  id=${fields[0]} file=${fields[1]} find=${fields[3]} with=${fields[4]}
  read -r program filter <<<"${fields[2]}"
  if [ $# -gt 0 ] && [[ " $* " != *" $id "* ]]; then continue; fi
  [ -f "$file" ] || stale "$id" "$file does not exist"
  count=$(literal count "$file" "$find")
  [ "$count" = 1 ] || stale "$id" "the text occurs $count times in $file: $find"
  if $verify; then
    echo "PRESENT  $id ($file)"
    continue
  fi

  cp "$file" "$work/original"
  planted=$file
  literal replace "$file" "$find" "$with" >"$work/faulty"
  cat "$work/faulty" >"$file"
  if ! cmake --build "$build" --target "$program" >"$work/build.log" 2>&1; then
    tail -20 "$work/build.log" >&2
    restore
    stale "$id" "the planted fault does not build"
  fi
  args=(--gtest_brief=1)
  [ -n "$filter" ] && args+=("--gtest_filter=$filter")
  status=0
  timeout "$timeout_seconds" "$build/tests/$program" "${args[@]}" >"$work/run.log" 2>&1 || status=$?
  restore
  if grep -q '^\[==========\] 0 tests from' "$work/run.log"; then
    stale "$id" "the filter $filter selects no test of $program"
  fi
  if [ $status -eq 0 ]; then
    missed=$((missed + 1))
    report+=("MISSED   $id ($file) by $program ${filter}")
  else
    caught=$((caught + 1))
    # The failing tests, at most five by name.
    sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' "$work/run.log" | sort -u >"$work/failing"
    failing=$(head -5 "$work/failing" | tr '\n' ' ')
    more=$(($(wc -l <"$work/failing") - 5))
    [ $more -gt 0 ] && failing+="and $more more"
    [ -n "$failing" ] || failing="(exit status $status: $(tail -1 "$work/run.log"))"
    report+=("CAUGHT   $id ($file) by $program: $failing")
  fi
  echo "${report[-1]}"
done <"$list"

if $verify; then
  echo "check-planted-faults: every text to replace is in its file once"
  exit 0
fi
echo "check-planted-faults: $caught caught, $missed missed"
[ $missed -eq 0 ]
