# Shared by test.sh and demo.sh: install what a fresh Debian 12 machine lacks, then build.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PACKAGES=(cmake make g++ python3 doctest-dev
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
          wine wine32:i386 xvfb xauth imagemagick)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

# build NAME [cmake options...]: configures out/build-NAME once and builds it.
build() {
    local name=$1; shift
    local dir="$ROOT/out/build-$name"
    [ -f "$dir/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

build_all() {
    build host
    build i686 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686.cmake"
    build x86_64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64.cmake"
}
