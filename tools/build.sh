#!/usr/bin/env bash
# Configures and builds the 32-bit Windows programs and tests into the given folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" 2>&1 | grep -vE '^\[ *[0-9]+%\]' || true
cmake --build "$build" -j"$(nproc)" >/dev/null
