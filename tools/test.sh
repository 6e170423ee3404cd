#!/usr/bin/env bash
# Builds and runs every test twice: a plain build with warnings as errors, and
# a build under AddressSanitizer + UndefinedBehaviorSanitizer with leak checks.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/deps.sh cmake make g++ qt6-base-dev python3 fonts-dejavu-core

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== plain build =="
cmake -S . -B build/plain -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFAUNTOME_WERROR=ON >/dev/null
cmake --build build/plain -j"$jobs"
(cd build/plain && ctest --output-on-failure -j"$jobs")

echo "== sanitizer build =="
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DFAUNTOME_WERROR=ON -DFAUNTOME_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0
(cd build/sanitize && ctest --output-on-failure -j"$jobs")
