#!/usr/bin/env bash
# Builds the Debian package build/fauntome_<version>_<arch>.deb from the
# release build that tools/run.sh also uses: the program and its launcher,
# the menu entry, icons and AppStream metadata, the sample data and the
# portraits drawn from it. Install it with: sudo apt install ./build/fauntome_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/deps.sh cmake make g++ qt6-base-dev fonts-dejavu-core dpkg-dev file

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFAUNTOME_BUILD_TESTS=OFF -DFAUNTOME_BUILD_TOOLS=ON >/dev/null
cmake --build build/release -j"$(nproc)"
(cd build/release && cpack -B "$top/build/package" >/dev/null)
rm -f build/fauntome_*.deb
mv build/package/fauntome_*.deb build/
ls -l build/fauntome_*.deb
