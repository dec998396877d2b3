#!/usr/bin/env bash
# Installs what is missing, builds the host tools and both Windows architectures, and runs
# every test: the core natively, the Windows tests under Wine with a private prefix and display.
source "$(dirname "$0")/common.sh"
install_missing
build_all

ctest --test-dir "$ROOT/out/build-host" --output-on-failure

source "$ROOT/tests/wine/env.sh"
export TELVARION_FORCE_XVFB=1   # the tests want a display of their own, never the user's desktop
telvarion_wine_up
trap telvarion_wine_down EXIT
ctest --test-dir "$ROOT/out/build-i686" --output-on-failure
