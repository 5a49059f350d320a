#!/usr/bin/env bash
# Runs clang-tidy with the root .clang-tidy over the sources and the tests of
# the Linux build, then over the Windows build's own files (src/win32,
# tests/win32 and the *_win32 and WinHTTP files) as the mingw-w64 cross
# build compiles them; prints the findings and fails when there are any,
# silent when they pass. clang-tidy 22 leaves the system's headers (Qt,
# GoogleTest, the C++ library) unchecked, which makes the whole run fit.
set -euo pipefail
cd "$(dirname "$0")/.."
# clang reads and writes text only as UTF-8; the narrow literals' encoding
# does not change what the checks see.
commands() {
    cmake -S . -B "$1" -DORVANE_TESTS=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "${@:2}" >/dev/null
    sed -i 's/ -fexec-charset=GB18030//' "$1/compile_commands.json"
}
commands build-tidy
commands build-tidy-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# clang finds the Windows headers for the target; the C++ library is the
# cross compiler's own.
gcc="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
windows=(-extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-nostdinc++)
for folder in include/c++ include/c++/x86_64-w64-mingw32 include/c++/backward; do
    windows+=("-extra-arg=-isystem$gcc/$folder")
done

tidy() {
    run-clang-tidy-22 -clang-tidy-binary clang-tidy-22 -quiet "$@" 2>/dev/null
}
status=0
output="$(tidy -p build-tidy "$PWD/(src|tests)/")" || status=$?
output+="$(tidy -p build-tidy-windows "${windows[@]}" \
    "$PWD/(src|tests)/(win32/|.*_win32\.cpp|transport/winhttp)")" || status=$?
grep -v '^clang-tidy\|warnings generated\|^Suppressed\|^Use -header-filter\|^Enabled checks\|^Running clang-tidy\|^\[ *[0-9]*/' \
    <<<"$output" || true
exit "$status"
