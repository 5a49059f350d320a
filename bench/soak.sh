#!/usr/bin/env bash
# A soak: the program left open with its clock on a loopback time server and
# the hot key pressed ten times a minute as a hand presses it (with no form
# to type into, each press is refused and told, through the same timers),
# for MINUTES. Prints its handles and memory after a minute's warm-up and at
# the end, and the growth. Goal: flat.
# Usage: bench/soak.sh linux BUILD_DIR [MINUTES]      build/orvane
#        bench/soak.sh windows BUILD_DIR [MINUTES]    build-windows/orvane.exe
#                                                      under Wine
set -euo pipefail
if [ -z "${ORVANE_SOAK_DISPLAY:-}" ]; then
    ORVANE_SOAK_DISPLAY=1 exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi
desktop=$1
build=$(cd "$2" && pwd)
minutes=${3:-30}
here=$(cd "$(dirname "$0")" && pwd)
coproc server { exec python3 "$here/two_clocks.py" 0 0; }
read -r port <&"${server[0]}"
url="http://127.0.0.1:$port/"

if [ "$desktop" = windows ]; then
    export WINEPREFIX="${WINEPREFIX:-$build/wine-prefix}" WINEDEBUG=-all
    wine "$build/orvane.exe" --time-url "$url" &
    sample() { wine "$build/bench/process_stats.exe" orvane.exe | tr -d '\r'; }
else
    "$build/orvane" --time-url "$url" &
    program=$!
    sample() {
        printf 'descriptors %s threads %s resident %s KiB\n' \
            "$(find "/proc/$program/fd" -mindepth 1 | wc -l)" \
            "$(awk '/^Threads/ {print $2}' "/proc/$program/status")" \
            "$(awk '/^VmRSS/ {print $2}' "/proc/$program/status")"
    }
fi
trap 'kill "$server_PID" 2>/dev/null || true; pkill -f "orvane(.exe)? --time-url $url" || true' EXIT

press() {
    xdotool keydown ctrl && sleep 0.04 && xdotool keydown alt && sleep 0.04 &&
        xdotool keydown v && sleep 0.12 && xdotool keyup v && sleep 0.03 &&
        xdotool keyup alt && sleep 0.03 && xdotool keyup ctrl
}
sleep 5
xdotool key Return # the welcome box
for second in $(seq 6 6 $((minutes * 60))); do
    sleep 6
    press
    if [ "$second" -eq 60 ]; then
        start="$(sample)"
        echo "after 1 minute: $start"
    fi
done
end="$(sample)"
echo "after $minutes minutes: $end"
python3 - "$start" "$end" <<'PY'
import sys
def figures(line):
    words = line.split()
    return {words[i - 1]: int(w) for i, w in enumerate(words) if w.isdigit()}
first, last = figures(sys.argv[1]), figures(sys.argv[2])
print("growth: " + ", ".join(f"{name} {last[name] - first[name]:+d}" for name in first))
PY
