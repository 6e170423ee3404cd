#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a scratch root
# and checks it as a system would take it: its name and file list, the
# dependencies read off the linked libraries, the validators of the menu
# entry, the AppStream metadata and the package, and the unpacked launcher
# showing a creature's portrait with no server and a fresh home folder.
# Usage: checkpackage.sh <build-dir> <scratch-dir> <probe-library>
set -euo pipefail
build=$(readlink -f "$1")
scratch=$(readlink -f "$2")
probe=$(readlink -f "$3")
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash tools/test.sh installs it)"
done

rm -rf "$scratch"
mkdir -p "$scratch"
(cd "$build" && cpack -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/out/fauntome_$(dpkg-deb -f "$scratch"/out/*.deb Version)_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"), only: $(ls "$scratch/out")"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# The launcher turns its own folder into a file: URL; these characters need
# escapes there.
root="$scratch/root #1 100%?"
dpkg-deb -x "$deb" "$root"
actual=$(cd "$root" && find . ! -type d ! -path './usr/share/fauntome/artwork/*' | sort)
expected=$(sort <<'LIST'
./usr/bin/fauntome
./usr/bin/fauntome-launcher
./usr/share/applications/fauntome.desktop
./usr/share/doc/fauntome/changelog.gz
./usr/share/doc/fauntome/copyright
./usr/share/fauntome/faundata.xml
./usr/share/icons/hicolor/16x16/apps/fauntome.png
./usr/share/icons/hicolor/22x22/apps/fauntome.png
./usr/share/icons/hicolor/24x24/apps/fauntome.png
./usr/share/icons/hicolor/32x32/apps/fauntome.png
./usr/share/icons/hicolor/48x48/apps/fauntome.png
./usr/share/icons/hicolor/64x64/apps/fauntome.png
./usr/share/icons/hicolor/128x128/apps/fauntome.png
./usr/share/icons/hicolor/256x256/apps/fauntome.png
./usr/share/man/man1/fauntome-launcher.1.gz
./usr/share/man/man1/fauntome.1.gz
./usr/share/metainfo/org.fauntome.Fauntome.metainfo.xml
LIST
)
[ "$actual" = "$expected" ] || fail "file list differs:
$(diff <(echo "$expected") <(echo "$actual") || true)"
creatures=$(grep -c '<faunlet[ >]' "$root/usr/share/fauntome/faundata.xml")
portraits=$(find "$root/usr/share/fauntome/artwork" -name '*.png' 2>/dev/null | wc -l) || true
[ "$creatures" -gt 0 ] && [ "$portraits" -eq "$creatures" ] || fail "$portraits portraits for $creatures creatures"
file "$root/usr/bin/fauntome" | grep -q ', stripped' || fail "the program is not stripped"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6network6 libqt6widgets6 libqt6xml6; do
  grep -q "\b$library (" <<<"$depends" || fail "Depends lacks $library: $depends"
done

desktop-file-validate "$root/usr/share/applications/fauntome.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.fauntome.Fauntome.metainfo.xml" || fail "appstreamcli"
linted=0
lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || linted=$?
grep -v '^running with root privileges' "$scratch/lintian.log" || true
[ "$linted" -eq 0 ] || fail "lintian reports errors"

# No server, nothing of the caller's: the portraits must come from the package.
home="$scratch/home"
mkdir -p "$home"
status=0
env -u FAUNTOME_ARTWORK_URL -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_CONFIG_HOME HOME="$home" \
  QT_QPA_PLATFORM=offscreen LD_PRELOAD="$probe" timeout 30 "$root/usr/bin/fauntome-launcher" || status=$?
[ "$status" -eq 42 ] || fail "the unpacked launcher showed no portrait within 30 s (status $status)"
[ -f "$home/.local/share/fauntome/faundata.xml" ] || fail "the launcher did not seed the data folder"
[ ! -e "$home/.cache/fauntome" ] || fail "the portrait was fetched over the network"
echo "PASS: the unpacked package shows its portraits"
