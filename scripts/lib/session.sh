# Shared by scripts/test, scripts/run and the benchmarks: an X display of our
# own and a Wine prefix whose wineserver lives for the whole session. Every
# process started here is stopped by its process id on exit.

session_pids=()

# A 91-byte i386 Linux program that only exits with code 0: whether it starts
# tells whether this kernel runs 32-bit code (some boot with it switched off).
runs_32bit_code() {
    local probe
    mkdir -p build
    probe=$(mktemp build/probe32.XXXXXX)  # not /tmp, which may forbid running programs
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\x31\xc0\x40\xcd\x80' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    local rc=$?
    rm -f "$probe"
    return $rc
}

# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    session_pids+=($!)
    local display
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# wine_env BUILD_DIR [PREFIX]: the environment scripts/wine-run would use,
# for the build's own prefix, or its 64-bit one when QUILLET_WINEARCH=win64.
wine_env() {
    local build own=win32
    build=$(cd "$1" && pwd)
    grep -q 'x86_64-w64-mingw32' "$build/CMakeCache.txt" && own=win64
    local arch=${QUILLET_WINEARCH:-$own}
    if [ "$arch" = "$own" ]; then
        export WINEPREFIX=${2:-$build/wineprefix}
    else
        export WINEPREFIX=$build/wineprefix-$arch
    fi
    if [ "$arch" = win64 ]; then
        export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    else
        export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
    fi
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# Makes the prefix if needed and keeps its wineserver alive, bound to DISPLAY.
start_wineserver() {
    "$WINESERVER" -k 2>/dev/null || true   # an old server may hold another display
    if [ ! -f "$WINEPREFIX/.booted" ]; then
        mkdir -p "$WINEPREFIX"
        taskset -c 0 "$WINELOADER" wineboot -i >/dev/null 2>&1
        touch "$WINEPREFIX/.booted"
    fi
    taskset -c 0 "$WINESERVER" -p -f >/dev/null 2>&1 &
    session_pids+=($!)
    # Start Wine's own helper processes now, detached from any pipe: started
    # by a test they would inherit its output and keep ctest waiting.
    taskset -c 0 "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
}

stop_session() {
    if [ -n "${WINESERVER:-}" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
    local pid
    for pid in "${session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${session_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    session_pids=()
}
