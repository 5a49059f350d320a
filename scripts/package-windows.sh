#!/usr/bin/env bash
# Builds orvane.exe (scripts/build-windows.sh) and leaves the download,
# dist/orvane-VERSION-windows-x64.zip: the program, its user guide in
# Chinese and the licence. Prints the zip's SHA-256.
set -euo pipefail
# File names here are UTF-8 (使用说明.txt), whatever the caller's locale.
export LC_ALL=C.UTF-8
cd "$(dirname "$0")/.."
scripts/build-windows.sh >/dev/null
version="$(sed -n 's/^project(orvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
name="orvane-$version-windows-x64"
stage="build-windows/package/$name"
rm -rf "build-windows/package" && mkdir -p "$stage" dist
cp build-windows/orvane.exe LICENSE "$stage/"
# Notepad reads UTF-8 with its byte-order mark; Windows lines end in CR LF.
printf '\xEF\xBB\xBF' >"$stage/使用说明.txt"
sed 's/$/\r/' docs/使用说明.txt >>"$stage/使用说明.txt"
rm -f "dist/$name.zip"
(cd build-windows/package && cmake -E tar cf "../../dist/$name.zip" --format=zip "$name")
sha256sum "dist/$name.zip"
