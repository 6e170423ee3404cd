#!/usr/bin/env bash
# Builds Fauntome and starts it on the bundled sample data in ./sample, where
# ./owners and ./teams are kept between runs. The creatures' artwork, drawn
# into build/release/artwork by the build, is served on 127.0.0.1 while the
# program runs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/deps.sh cmake make g++ qt6-base-dev python3 fonts-dejavu-core

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DFAUNTOME_BUILD_TESTS=OFF -DFAUNTOME_BUILD_TOOLS=ON >/dev/null
cmake --build build/release -j"$(nproc)"

# The build draws the portraits into $art whenever the data or the generator
# changes.
art=build/release/artwork

server=""
app=""
# shellcheck disable=SC2317 # only reached through the traps
stop() {
  # Every way out passes here, so no server outlives the program.
  if [ -n "$app" ]; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()'
}

# Polls for a few seconds; fails early when the server process is gone.
answers() {
  python3 - "$1" "$2" <<'EOF'
import os, sys, time, urllib.request
port, pid = sys.argv[1], int(sys.argv[2])
deadline = time.monotonic() + 5
while time.monotonic() < deadline:
    try:
        urllib.request.urlopen("http://127.0.0.1:%s/" % port, timeout=1).close()
        sys.exit(0)
    except Exception:
        try:
            os.kill(pid, 0)
        except OSError:
            sys.exit(1)
        time.sleep(0.1)
sys.exit(1)
EOF
}

log=build/artwork-server.log
: >"$log"
port=""
# The port is free when picked but could be taken before the server binds it.
for _ in 1 2 3; do
  candidate=$(free_port)
  python3 -m http.server "$candidate" --bind 127.0.0.1 --directory "$art" >>"$log" 2>&1 &
  server=$!
  if answers "$candidate" "$server"; then
    port=$candidate
    break
  fi
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=""
done
if [ -z "$port" ]; then
  echo "The artwork server did not start (see $log); the viewer will show no pictures." >&2
else
  export FAUNTOME_ARTWORK_URL="http://127.0.0.1:$port/images/artwork/"
fi

# In the background so a signal to this script reaches its trap at once.
cd sample
"$top/build/release/app/fauntome" "$@" &
app=$!
status=0
wait "$app" || status=$?
app=""
exit "$status"
