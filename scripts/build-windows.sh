#!/usr/bin/env bash
# Installs what is missing, cross-builds the Windows program with mingw-w64
# and leaves it at build-windows/orvane.exe: one file that needs nothing but
# Windows itself.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release
cmake --build build-windows -j"$(nproc)" --target orvane
ls -l build-windows/orvane.exe
