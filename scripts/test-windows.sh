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

# The test HTTP server of the Linux build, on 127.0.0.1, for the request
# object's tests; it ends when this script does.
if [ ! -x build/tests/http_test_server ]; then
    cmake -S . -B build
    cmake --build build -j"$jobs" --target http_test_server
fi
coproc SERVER { build/tests/http_test_server; }
read -r port <&"${SERVER[0]}"
export ORVANE_TEST_HTTP="http://127.0.0.1:$port"

ctest --test-dir build-windows --output-on-failure -j"$jobs"
