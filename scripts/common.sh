# Functions shared by scripts/test and scripts/run: building, an X server of our own, a Wine prefix.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WINE=/usr/lib/wine/wine64
# Debian's wine64 package keeps its server beside the loader, not on PATH.
WINESERVER=/usr/lib/wine/wineserver
STARTED_PIDS=()

# build ARCH...: configures (once) and builds each target in build/ARCH.
build() {
  local arch status=0
  for arch in "$@"; do
    # Configured every time: folders and test sources appear as the project grows.
    cmake -S "$ROOT" -B "$ROOT/build/$arch" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    if [[ "$arch" == x86_64 ]]; then
      # The 64-bit build runs its tools under Wine (skins are packed and checked, the test skin and the
      # sample base are written), several at once.
      ( build_prefix && cmake --build "$ROOT/build/$arch" -- -k 0 ) || status=$?
    else
      cmake --build "$ROOT/build/$arch" -- -k 0 || status=$?
    fi
    ((status == 0)) || return $status
  done
}

# build_prefix: the Wine prefix the build's own Wine steps run in, made before the first of them and
# its server kept running until the calling subshell ends. Without it, parallel steps on a machine that
# never ran Wine would each start making the default prefix, and one of them ends with "chdir to
# /tmp/wine-.../server-...: No such file or directory". Called in a subshell: the exports and the trap
# stay there.
build_prefix() {
  export WINEPREFIX="$ROOT/build/wine-build-prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export WINEARCH=win64
  if [[ ! -f "$WINEPREFIX/.ready" ]]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$WINESERVER" -w 2>/dev/null || true
    [[ -f "$WINEPREFIX/system.reg" ]] || { echo "build: the build's Wine prefix was not made" >&2; return 1; }
    touch "$WINEPREFIX/.ready"
  fi
  # The prefix's background programs are started here, on /dev/null: started by the first step instead,
  # they would hold that step's output pipe open for as long as the server runs, and the build would
  # wait for the step forever.
  keep_wine_running
  trap '"$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null' EXIT
}

# russian_locale: Wine and the programs it starts run in the Russian locale of this program's users,
# so the system's dialogs speak Russian (code page 1251, UI language 0x0419). Set after the build, so
# that compilers and CMake keep their usual messages.
russian_locale() {
  export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
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

# install_tahoma: Debian's Wine never registers the Tahoma of fonts-wine, so "Tahoma" falls back to
# Liberation Sans, which Wine draws wider than it measures at the program's 8-point size: auto-sized
# labels and tool-bar captions then lose their last letters. Wine's own Tahoma, put into the prefix's
# font folder, measures at least as wide as it draws, as Tahoma does on Windows.
install_tahoma() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts"/ 2>/dev/null || true
}

# make_prefix DIR [unmanaged]: a fresh 64-bit Wine prefix; "unmanaged" leaves window frames to Wine.
make_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  export WINEARCH=win64
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  install_tahoma
  if [[ "${2:-}" == unmanaged ]]; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  "$WINESERVER" -w 2>/dev/null || true
}

# keep_wine_running: one Wine server and its background programs for the whole run. Debian's wineserver
# wrapper passes -p0, so the server ends the instant its last program does: every test program after a
# pause then pays a cold start of the server and its services, and one that starts while the server is
# going away is ended with no output. A persistent server removes that window; stop_started ends it.
# The background programs are started here with their output on /dev/null, so none of them holds the
# output pipe of the first test program open.
keep_wine_running() {
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# stop_started: ends the Wine server of our prefix and every process we started, by PID.
stop_started() {
  # The server is waited for, not only told to end: it is found by the prefix folder's device and
  # inode, and a folder made after this one is removed can get the same inode; a program started there
  # would meet a server that is still going away and end with no output.
  if [[ -n "${WINEPREFIX:-}" ]]; then
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
  fi
  local pid
  for pid in "${STARTED_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${STARTED_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}

# fuzz NAME DICT SEED...: a bounded libFuzzer run of the native fuzz target NAME (with the dictionary DICT
# unless it is empty) seeded with the files given. Returns non-zero when the fuzzer found a failure.
fuzz() {
  local dir="$ROOT/build/native" name="$1" dict="$2"
  shift 2
  [[ -x "$dir/tests/native/$name" ]] || return 0
  local corpus seeds status=0
  corpus="$(mktemp -d /tmp/velmora-fuzz.XXXXXX)"
  seeds="$(mktemp -d /tmp/velmora-seeds.XXXXXX)"
  local seed n=0
  # Seeds of the same name from different folders (Options.dat) must not overwrite one another.
  for seed in "$@"; do
    [[ -f "$seed" ]] && cp "$seed" "$seeds/$((n++))-$(basename "$seed")"
  done
  mkdir -p "$dir/fuzz-artifacts"
  echo "native: fuzzing $name for ${VELMORA_FUZZ_SECONDS:-60} s"
  "$dir/tests/native/$name" -max_total_time="${VELMORA_FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=2048 \
    ${dict:+-dict="$dict"} -print_final_stats=1 -artifact_prefix="$dir/fuzz-artifacts/$name-" "$corpus" "$seeds" \
    >"$dir/$name.log" 2>&1 || status=$?
  tail -n 12 "$dir/$name.log"
  rm -rf "$corpus" "$seeds"
  if ((status != 0)); then
    echo "native: the fuzzer $name found a failure (see $dir/$name.log and $dir/fuzz-artifacts)" >&2
    return 1
  fi
}

# native_checks: builds the window-free cores with the host's clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs their tests, then a bounded libFuzzer run of each fuzz target seeded
# with the test files: the PNG loader, and the skin reader with the shipped skins' text, the packed
# skins of an earlier Windows build and the known-bad skins. Returns non-zero when a build, a test or a
# fuzzer fails.
native_checks() {
  local dir="$ROOT/build/native"
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all" \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    >/dev/null || return 1
  cmake --build "$dir" -- -k 0 || return 1
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j 4 || return 1
  shopt -s nullglob
  local status=0
  # The two fuzzers side by side: each takes one core for its whole time.
  fuzz png_fuzz "$ROOT/tests/png/png.dict" "$ROOT"/.deps/pngsuite/pngsuite/*.png "$ROOT"/.deps/pngsuite/*.png \
    "$ROOT"/tests/png/crashes/* &
  local png_pid=$!
  fuzz skin_fuzz "" "$ROOT"/assets/skins/*/Options.dat "$ROOT"/build/x86_64/assets/skins/*.asz \
    "$ROOT"/tests/skin_core/skin_seeds/* "$ROOT"/tests/skin_core/bad_skins/* || status=1
  wait "$png_pid" || status=1
  shopt -u nullglob
  return $status
}

# start_cups: makes sure the CUPS scheduler runs with the queue "PDF" (cups-pdf, see scripts/setup) as
# the default printer, and exports VELMORA_PDF_DIR, where printed jobs land. Wine reads the queues when
# a program starts, so this runs before the first Windows program. The scheduler is the machine's
# printer service: one that runs is used, one started here is left running (runs side by side share it,
# and a run that stopped it at its end would take the printer away from the others).
start_cups() {
  export VELMORA_PDF_DIR=/var/spool/velmora-pdf
  command -v cupsd >/dev/null || return 0
  if ! LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running"; then
    cupsd </dev/null >/dev/null 2>&1
    local i
    for i in $(seq 1 50); do
      LC_ALL=C lpstat -r 2>/dev/null | grep -q "scheduler is running" && break
      sleep 0.2
    done
  fi
  if ! LC_ALL=C lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
  fi
  lpadmin -d PDF
}
