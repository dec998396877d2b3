#!/usr/bin/env bash
# Installs what is missing, builds, and runs Telvarion with the simulated adapter.
# With a display: an interactive run (drive the adapter from the tray menu's Advanced
# command). Without one: a short scripted session under Xvfb that leaves screenshots in
# out/run/ and prints the program's debugger output.
source "$(dirname "$0")/common.sh"
install_missing
build host
build i686 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686.cmake"

RUNNER="$ROOT/out/build-i686/tools/demo/DemoRunner.exe"
DIST="$ROOT/out/dist"
export TELVARION_WINE_STATE="$ROOT/out/wine-demo"
export TELVARION_WINE_UNMANAGED=0   # a person's desktop keeps its window decorations
source "$ROOT/tests/wine/env.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${TELVARION_FORCE_XVFB:-}" ]; then
    telvarion_wineserver
    wine "$RUNNER" "$(winepath -w "$DIST")" </dev/null
    exit $?
fi

export TELVARION_FORCE_XVFB=1
telvarion_wine_up
trap telvarion_wine_down EXIT
OUT="$ROOT/out/run"
rm -rf "$OUT" && mkdir -p "$OUT"
log="$OUT/session.log"
wine "$RUNNER" "$(winepath -w "$DIST")" --scripted "$(winepath -w "$OUT")" </dev/null >"$log" 2>&1
rc=$?
for bmp in "$OUT"/*.bmp; do
    [ -e "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
tr -d '\r' <"$log" | grep -v '^[0-9a-f]*:\(fixme\|err\|warn\):' || true
echo "Screenshots: $(ls "$OUT"/*.png 2>/dev/null | wc -l) in $OUT"
exit $rc
