#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the format check,
# clang-tidy, the whole suite, the core libraries again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets for a fixed number of runs,
# and the Windows build's tests under Wine.
set -euo pipefail
# File names here are UTF-8 (使用说明.txt), whatever the caller's locale.
export LC_ALL=C.UTF-8
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs="$(nproc)"

# Every source as clang-format (the root .clang-format) leaves it.
find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run -Werror

# clang-tidy's findings fail the run too. It checks on what the builds and
# tests leave of the processors, at the lowest priority (in this session, so
# that the kernel's per-session groups do not lift it), and is waited for at
# the end; a process group of its own, so that a failed run stops it whole.
mkdir -p build-tidy
set -m
nice -n 19 scripts/tidy.sh >build-tidy/findings.txt 2>&1 &
tidy=$!
set +m
trap 'kill -- -"$tidy" 2>/dev/null || true' EXIT

# Each stage says how long it took; a test that hangs fails at its time-out
# (ctest --timeout, seconds) rather than holding the run.
stage() { echo "== $1 done after ${SECONDS} s"; }

# Release: the program as users get it, and no debug information to build.
cmake -S . -B build -DORVANE_TESTS=ON -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
stage "Linux build"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs" --timeout 400
tests/linux/package_test.sh
stage "Linux tests"

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Line tables are all a sanitiser's report needs of the debug information.
cmake -S . -B build-sanitize -DORVANE_DESKTOP=none -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitize"
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs" --timeout 400
stage "sanitised tests"

if [ -f fuzz/CMakeLists.txt ]; then
    cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz -j"$jobs"
    ctest --test-dir build-fuzz --output-on-failure -j"$jobs" --timeout 400
    stage "fuzz targets"
fi

scripts/test-windows.sh
stage "Windows tests"

if ! wait "$tidy"; then
    echo "clang-tidy found:"
    cat build-tidy/findings.txt
    exit 1
fi
stage "clang-tidy"
