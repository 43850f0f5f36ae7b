# Functions shared by scripts/test and scripts/run: building, an X server of our own, a Wine prefix.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WINE=/usr/lib/wine/wine64
# Debian's wine64 package keeps its server beside the loader, not on PATH.
WINESERVER=/usr/lib/wine/wineserver
STARTED_PIDS=()

# build ARCH...: configures (once) and builds each target in build/ARCH.
build() {
  local arch
  for arch in "$@"; do
    # Configured every time: folders and test sources appear as the project grows.
    cmake -S "$ROOT" -B "$ROOT/build/$arch" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$ROOT/build/$arch" -- -k 0
  done
}

# start_xvfb: starts Xvfb on a display number it picks itself (so parallel runs never collide) and
# exports DISPLAY.
start_xvfb() {
  local fifo
  fifo="$(mktemp -u /tmp/velmora-xvfb.XXXXXX)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  STARTED_PIDS+=($!)
  local n=""
  read -r -t 20 n <"$fifo" || true
  rm -f "$fifo"
  if [[ -z "$n" ]]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

# make_prefix DIR [unmanaged]: a fresh 64-bit Wine prefix; "unmanaged" leaves window frames to Wine.
make_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export WINEARCH=win64
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  if [[ "${2:-}" == unmanaged ]]; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  "$WINESERVER" -w 2>/dev/null || true
}

# stop_started: ends the Wine server of our prefix and every process we started, by PID.
stop_started() {
  if [[ -n "${WINEPREFIX:-}" ]]; then
    "$WINESERVER" -k 2>/dev/null || true
  fi
  local pid
  for pid in "${STARTED_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${STARTED_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}
