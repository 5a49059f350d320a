#!/usr/bin/env bash
# Cross-builds orvane.exe and the Windows tests with mingw-w64 and runs the
# tests under Wine, headless (Xvfb for the window's tests). Called by
# scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=ON
cmake --build build-windows -j"$jobs"

# A Wine prefix of the build's own, set up before the tests start. Windows'
# Chinese faces are not there: a CJK face stands in for them.
export WINEPREFIX="$PWD/build-windows/wine-prefix" WINEDEBUG=-all
wine cmd /c exit >/dev/null 2>&1 || true
for face in SimSun Tahoma; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
        /d 'Noto Sans CJK SC' /f >/dev/null 2>&1 || true
done
# No window manager runs here: Wine's windows are left unmanaged, or Wine
# waits two seconds for one at every box that closes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
# A program that crashes ends, reported on standard error, instead of
# waiting for a debugger nobody will attach.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
    /t REG_SZ /d false /f >/dev/null 2>&1 || true
wineserver --wait

# The test HTTP server of the Linux build, on 127.0.0.1, for the request
# object's tests; it ends when this script does.
if [ ! -x build/tests/http_test_server ]; then
    cmake -S . -B build -DORVANE_TESTS=ON
    cmake --build build -j"$jobs" --target http_test_server
fi
coproc SERVER { build/tests/http_test_server; }
read -r port <&"${SERVER[0]}"
read -r silent <&"${SERVER[0]}"
export ORVANE_TEST_HTTP="http://127.0.0.1:$port"
export ORVANE_TEST_SILENT="http://127.0.0.1:$silent/"

xvfb-run -a ctest --test-dir build-windows --output-on-failure -j"$jobs" --timeout 600

# The window at 144 DPI, as a screen at 150 % gives it.
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wineserver --wait
}
set_dpi 144
(cd build-windows/tests && ORVANE_TEST_DPI=144 xvfb-run -a -s '-screen 0 1920x1440x24' \
    timeout 300 wine ./win32_tests.exe \
    --gtest_filter='Win32Dpi.*') || { set_dpi 96; exit 1; }
# Common laptop screens at their usual scale, less a taskbar: the window
# fits their work area.
(cd build-windows/tests && ORVANE_TEST_WORK_HEIGHT=1008 \
    xvfb-run -a -s '-screen 0 1920x1080x24' timeout 300 wine ./win32_tests.exe \
    --gtest_filter='Win32Fit.*') || { set_dpi 96; exit 1; }
(cd build-windows/tests && ORVANE_TEST_WORK_HEIGHT=648 \
    xvfb-run -a -s '-screen 0 1280x720x24' timeout 300 wine ./win32_tests.exe \
    --gtest_filter='Win32Fit.*') || { set_dpi 96; exit 1; }
set_dpi 120
(cd build-windows/tests && ORVANE_TEST_WORK_HEIGHT=728 \
    xvfb-run -a -s '-screen 0 1366x768x24' timeout 300 wine ./win32_tests.exe \
    --gtest_filter='Win32Fit.*') || { set_dpi 96; exit 1; }
set_dpi 96

# The download holds the program, the user guide and the licence; it is
# made in the C locale as well as in any other.
env -u LC_ALL LANG=C scripts/package-windows.sh
listing="$(cmake -E tar tf dist/orvane-*-windows-x64.zip)"
for file in orvane.exe 使用说明.txt LICENSE; do
    grep -q "/$file\$" <<<"$listing" || { echo "the download lacks $file"; exit 1; }
done
