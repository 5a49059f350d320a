#!/bin/bash
# The status bar against nginx from Debian, its clock moved by libfaketime,
# behind a relay that makes the round trip 60 ms: five runs of the real
# window under Xvfb, each printing how late the panel's second turned after
# nginx's own. Needs nginx-light, libfaketime, xvfb (installed if missing)
# and a build with the Qt desktop in build/.
# With COUNTDOWN=1 the panel counts down to an opening ten minutes ahead on
# nginx's clock, and its turns are timed instead.
# Usage: [BUILD=folder] [COUNTDOWN=1] bench/nginx_clock.sh [RUNS] [SECONDS_PER_RUN]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
seconds=${2:-60}
missing=()
for pair in nginx:nginx-light faketime:faketime xvfb-run:xvfb; do
    command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
done
if ((${#missing[@]})); then
    apt-get install -y --no-install-recommends libfaketime "${missing[@]}"
fi
build=${BUILD:-build}
cmake --build "$build" --target panel_turns >/dev/null

folder=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$folder"' EXIT
nginx_port=18080
relay_port=18081
cat > "$folder/nginx.conf" <<CONF
daemon off;
# Workers keep only the environment named here; without it libfaketime in
# them falls back to the real clock after its first ten seconds.
env FAKETIME;
pid $folder/nginx.pid;
error_log $folder/error.log;
events {}
http {
    access_log off;
    client_body_temp_path $folder;
    proxy_temp_path $folder;
    fastcgi_temp_path $folder;
    uwsgi_temp_path $folder;
    scgi_temp_path $folder;
    server {
        listen 127.0.0.1:$nginx_port;
        location / { return 204; }
    }
}
CONF
offset=7.345
LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 FAKETIME="+$offset" \
    nginx -c "$folder/nginx.conf" -p "$folder" &
python3 bench/delay_proxy.py "$relay_port" "$nginx_port" 30 &
sleep 1
for run in $(seq "$runs"); do
    opening=()
    if [ -n "${COUNTDOWN:-}" ]; then
        opening=("$(TZ=Asia/Shanghai date -d "+$offset sec +10 min" +%H:%M:%S)")
    fi
    echo -n "run $run: "
    (cd "$folder" && QT_QPA_PLATFORM=xcb xvfb-run -a "$(realpath "$build")/bench/panel_turns" \
        "http://127.0.0.1:$relay_port/" "$offset" "$seconds" 20 "${opening[@]}")
done
