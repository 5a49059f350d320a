#!/usr/bin/env bash
# Runs clang-tidy with the root .clang-tidy over the sources of the Linux
# build (src/), then over the Windows build's own files (src/win32 and the
# *_win32 and WinHTTP files) as the mingw-w64 cross build compiles them;
# prints the findings and fails when there are any, silent when they pass.
set -euo pipefail
cd "$(dirname "$0")/.."
# clang reads and writes text only as UTF-8; the narrow literals' encoding
# does not change what the checks see.
commands() {
    sed -i 's/ -fexec-charset=GB18030//' "$1/compile_commands.json"
}
cmake -S . -B build-tidy -DORVANE_TESTS=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
commands build-tidy
cmake -S . -B build-tidy-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DORVANE_TESTS=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
commands build-tidy-windows
# clang finds the Windows headers for the target; the C++ library is the
# cross compiler's own.
gcc="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")"
windows=(-extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-nostdinc++)
for folder in include/c++ include/c++/x86_64-w64-mingw32 include/c++/backward; do
    windows+=("-extra-arg=-isystem$gcc/$folder")
done

status=0
output="$(run-clang-tidy -p build-tidy -quiet "$PWD/src/" 2>/dev/null)" || status=$?
output+="$(run-clang-tidy -p build-tidy-windows -quiet "${windows[@]}" \
    "$PWD/src/(win32/|.*_win32\.cpp|transport/winhttp)" 2>/dev/null)" || status=$?
grep -v '^clang-tidy\|warnings generated\|^Suppressed\|^Use -header-filter\|^Enabled checks' \
    <<<"$output" || true
exit "$status"
