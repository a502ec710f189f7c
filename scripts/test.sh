#!/usr/bin/env bash
# Installs what is missing, checks formatting and the layering of includes, gives every parser a
# short fuzzing run, then builds and runs every test twice: a normal build, and a build with
# AddressSanitizer and UndefinedBehaviorSanitizer in which any report fails the run; the thread
# pool also runs under ThreadSanitizer. Last, the normal build is installed and packaged the way
# users get it (scripts/check-install.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

echo "== locales for the number tests"
bash scripts/make-locales.sh

echo "== format"
bash scripts/check-format.sh

echo "== layers (no include from a lower folder up)"
bash scripts/check-layers.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# fontconfig (the text engine's last-resort font lookup) keeps one-time caches until exit; they are suppressed, nothing else.
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp

echo "== fuzz smoke run (clang, libFuzzer, 10 s per parser)"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPLOTARA_TESTS=OFF -DPLOTARA_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target plotara_fuzzers
for fuzzer in build-fuzz/fuzz/*_fuzz; do
  echo "$fuzzer"
  # New inputs go to a scratch folder; the seeds in fuzz/corpus stay as committed.
  seeds=fuzz/corpus/$(basename "${fuzzer%_fuzz}")
  scratch=$(mktemp -d)
  if [ -d "$seeds" ]; then
    "$fuzzer" -max_total_time=10 "$scratch" "$seeds" 2>&1 | tail -n 1
  else
    "$fuzzer" -max_total_time=10 "$scratch" 2>&1 | tail -n 1
  fi
  rm -rf "$scratch"
done

echo "== sanitizer build (address, undefined)"
bash scripts/build.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DPLOTARA_SANITIZE=ON \
  -DPLOTARA_BENCH=OFF -DPLOTARA_WERROR=ON
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"

echo "== thread sanitizer (the worker pool, a multi-threaded batch, the two-thread line strokes)"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTARA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread \
  >/dev/null
cmake --build build-tsan --parallel "$(nproc)" --target plotara_batch_threads_tests plotara_player_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp build-tsan/tests/plotara_batch_threads_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/tsan.supp \
  build-tsan/tests/plotara_player_tests --gtest_filter='LineStrokes.*:HelperThread.*:PngEncoder.TwoThreads*:RasterCache.*'

echo "== normal build"
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTARA_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX=/usr
ctest --test-dir build --output-on-failure -j "$(nproc)"

echo "== function size (player/, clang-tidy)"
bash scripts/check-function-size.sh build

echo "== install, examples/consumer, Debian packages"
bash scripts/check-install.sh build
