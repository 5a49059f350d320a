#!/usr/bin/env bash
# Installs what is missing, builds and starts Orvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DORVANE_TESTS=OFF
cmake --build build -j"$(nproc)" --target orvane
exec build/orvane "$@"
