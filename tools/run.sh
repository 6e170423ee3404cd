#!/usr/bin/env bash
# Builds Fauntome and starts it on the bundled sample data in ./sample, where
# ./owners and ./teams are kept between runs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/deps.sh cmake make g++ qt6-base-dev python3 fonts-dejavu-core

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFAUNTOME_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"

cd sample
exec "$top/build/release/app/fauntome" "$@"
