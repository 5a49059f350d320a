#!/usr/bin/env bash
# Builds the Linux download, dist/orvane_VERSION_amd64.deb: the program in
# /usr/bin, its menu entry and icon, its manual page, the licence and a
# short Chinese guide; its dependencies as Debian 12 names them. Prints the
# package's SHA-256. Uses the build in build/ (made if missing).
set -euo pipefail
# File names here are UTF-8 (使用说明.txt), whatever the caller's locale.
export LC_ALL=C.UTF-8
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [ ! -x build/orvane ]; then
    cmake -S . -B build -DORVANE_TESTS=OFF >/dev/null
fi
cmake --build build -j"$(nproc)" --target orvane >/dev/null

version="$(sed -n 's/^project(orvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
stage=build/package/deb
rm -rf build/package && mkdir -p "$stage/DEBIAN" dist
install -D -m 0755 build/orvane "$stage/usr/bin/orvane"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/bin/orvane"
install -D -m 0644 packaging/linux/orvane.desktop \
    "$stage/usr/share/applications/orvane.desktop"
install -D -m 0644 packaging/linux/orvane.svg \
    "$stage/usr/share/icons/hicolor/scalable/apps/orvane.svg"
install -d "$stage/usr/share/man/man1" "$stage/usr/share/doc/orvane"
gzip -9n <packaging/linux/orvane.1 >"$stage/usr/share/man/man1/orvane.1.gz"
install -m 0644 packaging/linux/copyright packaging/linux/使用说明.txt README.md \
    "$stage/usr/share/doc/orvane/"
maintainer="Orvane developers <orvane@example.org>"
{
    echo "orvane ($version) unstable; urgency=medium"
    echo
    echo "  * Orvane $version."
    echo
    echo " -- $maintainer  $(date -R -d "@$(git log -1 --format=%ct 2>/dev/null || date +%s)")"
} | gzip -9n >"$stage/usr/share/doc/orvane/changelog.gz"
chmod 0644 "$stage/usr/share/doc/orvane/changelog.gz"

# The libraries the program links, as the packages that hold them.
mkdir -p build/package/debian
printf 'Source: orvane\n\nPackage: orvane\nArchitecture: any\n' >build/package/debian/control
depends="$(cd build/package && dpkg-shlibdeps -O -e deb/usr/bin/orvane 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p')"
cat >"$stage/DEBIAN/control" <<CONTROL
Package: orvane
Version: $version
Architecture: amd64
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $depends
Recommends: fonts-noto-cjk
Section: utils
Priority: optional
Description: keeps the applicants of commemorative coin reservations
 Orvane keeps up to 25 applicants (name, national ID number, mobile
 number) for booking commemorative coins on banks' online reservation
 pages. A click puts a field on the clipboard, and a hot key types the next
 applicant into the bank's form, with a Chinese input method switched to
 direct input while it does. The status bar shows Beijing time as a web
 server keeps it, and counts down to the opening.
CONTROL
(cd "$stage" && find usr -type f -exec md5sum {} +) >"$stage/DEBIAN/md5sums"
package="dist/orvane_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
sha256sum "$package"
