#!/usr/bin/env bash
# A long fuzzing campaign: builds every libFuzzer entry with clang and runs each in turn for
# SECONDS_EACH seconds (default one hour) on its growing corpus in build-fuzz/corpus/<name>,
# seeded from fuzz/corpus/<name>. Crashing inputs land in build-fuzz/artifacts/<name>/; each
# becomes a regression test (and a seed) before it is fixed.
#   bash scripts/fuzz.sh                 # every fuzzer, an hour each
#   SECONDS_EACH=600 bash scripts/fuzz.sh chart_xml_fuzz csv_fuzz
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${SECONDS_EACH:-3600}
# fontconfig (the text engine's last-resort font lookup) keeps one-time caches until exit; they are suppressed, nothing else.
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
jobs=${JOBS:-1}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPLOTARA_TESTS=OFF -DPLOTARA_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target plotara_fuzzers
if (($#)); then names=("$@"); else
  names=()
  for fuzzer in build-fuzz/fuzz/*_fuzz; do names+=("$(basename "$fuzzer")"); done
fi
failed=0
for name in "${names[@]}"; do
  seeds=fuzz/corpus/${name%_fuzz}
  corpus=build-fuzz/corpus/$name
  artifacts=build-fuzz/artifacts/$name
  mkdir -p "$corpus" "$artifacts"
  echo "== $name for ${seconds}s"
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  if ! "build-fuzz/fuzz/$name" -max_total_time="$seconds" -jobs="$jobs" -workers="$jobs" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "${args[@]}"; then
    echo "$name: crash, see $artifacts"
    failed=1
  fi
done
exit "$failed"
