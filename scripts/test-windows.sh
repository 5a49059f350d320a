#!/usr/bin/env bash
# Cross-builds the Windows build's tests with mingw-w64 and runs them under
# Wine, headless. Called by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release
cmake --build build-windows -j"$jobs"

# A Wine prefix of the build's own, set up before the tests start.
export WINEPREFIX="$PWD/build-windows/wine-prefix" WINEDEBUG=-all
wine cmd /c exit >/dev/null 2>&1 || true
wineserver --wait
ctest --test-dir build-windows --output-on-failure -j"$jobs"
