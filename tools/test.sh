#!/usr/bin/env bash
# Builds and runs every test twice: a plain build with warnings as errors, and
# a build under AddressSanitizer + UndefinedBehaviorSanitizer with leak checks.
# The plain suite also builds the Debian package from its build and checks it.
# Then every fuzz target runs for a bounded time (FAUNTOME_FUZZ_SECONDS, 60 by
# default) from its committed seeds, with a memory limit that a runaway
# allocation breaks; a crash, leak, timeout or running out of memory fails the
# run and leaves the input under build/fuzz/artifacts, to be committed as a
# regression case. An input that is only slow under the sanitizers is reported
# in the log and fails nothing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/deps.sh cmake make g++ qt6-base-dev python3 fonts-dejavu-core clang libclang-rt-14-dev \
  dpkg-dev file lintian desktop-file-utils appstream

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Every entry of the checkout outside the build folders, tracked, untracked and ignored
# alike, files with a digest of their bytes: the suites must leave it as they
# found it.
listing() {
  find . \( -path ./build -o -path "./build-*" -o -path ./.git \) -prune -o ! -type f -printf '%y %p\n' -o -type f -exec sha1sum {} + | sort
}
checkout_before=$(listing)

echo "== plain build =="
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFAUNTOME_WERROR=ON -DFAUNTOME_BUILD_TOOLS=ON >/dev/null
cmake --build build/plain -j"$jobs"
(cd build/plain && ctest --output-on-failure -j"$jobs")

echo "== sanitizer build =="
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DFAUNTOME_WERROR=ON -DFAUNTOME_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0
(cd build/sanitize && ctest --output-on-failure -j"$jobs")

checkout_after=$(listing)
if [ "$checkout_after" != "$checkout_before" ]; then
  echo "the suites left the checkout changed outside build/ (< before, > after):"
  diff <(echo "$checkout_before") <(echo "$checkout_after") | grep '^[<>]' || true
  exit 1
fi

echo "== fuzz smoke run =="
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFAUNTOME_FUZZ=ON >/dev/null
cmake --build build/fuzz -j"$jobs" --target fuzz_all
seconds=${FAUNTOME_FUZZ_SECONDS:-60}
rm -rf build/fuzz/artifacts && mkdir -p build/fuzz/artifacts
for program in build/fuzz/tests/fuzz/fuzz_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue # not the autogen folders
  target=$(basename "$program")
  name=${target#fuzz_}
  work=$top/build/fuzz/corpus/$name
  seeds=$top/tests/fuzz/corpus/$name
  [ "$name" = datamoves ] && seeds=$top/tests/fuzz/corpus/datareader # the same files, another check
  log=$top/build/fuzz/$name.log
  mkdir -p "$work"
  echo "-- $target for ${seconds}s"
  # Absolute paths: the target moves into a scratch directory before it
  # reads its corpus. Under the sanitizers a normal run peaks near 500 MB.
  status=0
  "$top/build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -close_fd_mask=1 -max_len=65536 \
    -rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=60 -print_final_stats=1 \
    -artifact_prefix="$top/build/fuzz/artifacts/$name-" \
    "$work" "$seeds" $(ls -d "$top/tests/fuzz/regressions/$name" 2>/dev/null) >"$log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|stat::slowest_unit_time_sec|==|SUMMARY|Done)" "$log" || true
  failed=$(ls build/fuzz/artifacts | grep -E "^$name-(crash|leak|oom|timeout)-" || true)
  if [ "$status" -ne 0 ] || [ -n "$failed" ]; then
    tail -n 40 "$log"
    echo "$target failed (exit $status); commit the input under tests/fuzz/regressions/$name/: ${failed:-none left}"
    exit 1
  fi
done
