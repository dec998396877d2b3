# Sourced by the test and run scripts and by tests/wine/run: one private Wine prefix, one
# persistent wineserver and one X display for the whole run. Idempotent and quiet; every
# background process writes to files and reads /dev/null, since wineserver inherits pipes.
TELVARION_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]:-$0}")/../.." && pwd)
TELVARION_WINE_STATE=${TELVARION_WINE_STATE:-$TELVARION_ROOT/out/wine}
export WINEPREFIX=${TELVARION_WINEPREFIX:-$TELVARION_WINE_STATE/prefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$TELVARION_WINE_STATE"

telvarion_display() {
    # Keep a display that is already there; otherwise one Xvfb per state folder.
    if [ -n "${DISPLAY:-}" ] && [ -z "${TELVARION_FORCE_XVFB:-}" ]; then return 0; fi
    local file="$TELVARION_WINE_STATE/display" num pid
    if [ -f "$file" ]; then
        read -r num pid <"$file"
        if kill -0 "$pid" 2>/dev/null; then export DISPLAY=":$num"; return 0; fi
    fi
    for num in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$num" ] || [ -e "/tmp/.X$num-lock" ] && continue
        Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$TELVARION_WINE_STATE/xvfb.log" 2>&1 &
        pid=$!
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$num" ] && break; sleep 0.1; done
        echo "$num $pid" >"$file"
        export DISPLAY=":$num"
        return 0
    done
    echo "no free X display" >&2
    return 1
}

telvarion_wineserver() {
    # A prefix made on first use, with winedbg's crash dialog switched off so that nothing
    # ever waits for a click, and for tests windows left unmanaged: with no window manager on
    # the display, Wine would otherwise wait about two seconds at every hide of a visible
    # window. Then one persistent server for every process of the run.
    if [ ! -f "$TELVARION_WINE_STATE/prefix.ready" ]; then
        wineboot -i </dev/null >"$TELVARION_WINE_STATE/wineboot.log" 2>&1 || true
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashNotification /t REG_DWORD /d 0 /f \
            </dev/null >>"$TELVARION_WINE_STATE/wineboot.log" 2>&1 || true
        if [ "${TELVARION_WINE_UNMANAGED:-1}" = 1 ]; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
                </dev/null >>"$TELVARION_WINE_STATE/wineboot.log" 2>&1 || true
        fi
        # The prefix's own processes started before these settings; start them afresh.
        wineboot -s </dev/null >>"$TELVARION_WINE_STATE/wineboot.log" 2>&1 || true
        wineserver -w </dev/null >>"$TELVARION_WINE_STATE/wineboot.log" 2>&1 || true
        touch "$TELVARION_WINE_STATE/prefix.ready"
    fi
    # Fails harmlessly when the server already runs.
    wineserver -p </dev/null >>"$TELVARION_WINE_STATE/wineserver.log" 2>&1 || true
}

telvarion_wine_up() { telvarion_display && telvarion_wineserver; }

telvarion_wine_down() {
    wineserver -k </dev/null >/dev/null 2>&1
    local file="$TELVARION_WINE_STATE/display" num pid
    if [ -f "$file" ]; then
        read -r num pid <"$file"
        kill "$pid" 2>/dev/null
        rm -f "$file"
    fi
}
