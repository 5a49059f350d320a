#!/usr/bin/env bash
# The Linux package: it holds what a desktop needs, and the program started
# from it as installed (its folder not the user's to write in) keeps its
# file in the user's data folder, private to the user. Run by
# scripts/test.sh after the build.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/package-linux.sh >/dev/null
package=$(ls dist/orvane_*_amd64.deb)
listing=$(dpkg-deb -c "$package")
for path in ./usr/bin/orvane ./usr/share/applications/orvane.desktop \
    ./usr/share/icons/hicolor/scalable/apps/orvane.svg ./usr/share/doc/orvane/copyright \
    ./usr/share/doc/orvane/changelog.gz ./usr/share/doc/orvane/使用说明.txt \
    ./usr/share/man/man1/orvane.1.gz; do
    grep -q " $path\$" <<<"$listing" || { echo "the package lacks $path"; exit 1; }
done
for field in Depends:.*libqt6widgets6 Depends:.*libcurl4 "Recommends: fonts-noto-cjk"; do
    dpkg-deb -f "$package" | grep -q "$field" || { echo "the control has no $field"; exit 1; }
done
grep -q '^Exec=orvane$' packaging/linux/orvane.desktop

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
dpkg-deb -x "$package" "$scratch/root"
chmod 0555 "$scratch/root/usr/bin" # as /usr/bin is to a user
mkdir -p "$scratch/home"
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/data"
# Orvane centred on a 1024x768 screen: 保存配置 at (109, 612, 80 x 32) in it.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$0" --time-url http://127.0.0.1:9/ & program=$!
    sleep 3
    xdotool key Return # the greeting
    sleep 1
    xdotool mousemove $((352 + 149)) $((34 + 628)) click 1
    sleep 2
    kill $program' "$scratch/root/usr/bin/orvane"
file="$scratch/data/orvane/信息.ini"
[ -f "$file" ] || { echo "no $file after 保存配置"; exit 1; }
[ "$(stat -c %a "$file")" = 600 ] || { echo "$file is not private"; exit 1; }
[ "$(stat -c %a "$scratch/data/orvane")" = 700 ] || { echo "its folder is not private"; exit 1; }
[ ! -e "$scratch/root/usr/bin/信息.ini" ]
echo "package: contents, dependencies and the file in the user's data folder checked"
