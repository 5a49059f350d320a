#!/usr/bin/env bash
# The real window under Xvfb against a loopback server of two machines that
# answer in turn (or at random, with ORDER "random"), the second's clock
# APART seconds behind the first's, each
# run at a random phase of the server's seconds against this machine's. For
# each run: the share of seconds shown from 20 s on outside the bound the
# tooltip stated (of the nearer clock, and of every clock), the difference
# it stated last, since when that stayed within 20 % of the truth, and
# since when the check was done.
# Usage: bench/two_clocks_runs.sh BUILD_DIR APART [RUNS [SECONDS_AFTER_20 [ORDER]]]
set -euo pipefail
build=$(cd "$1" && pwd)
apart=$2
runs=${3:-10}
seconds=${4:-65}
order=${5:-turn}
here=$(cd "$(dirname "$0")" && pwd)
for run in $(seq "$runs"); do
    offset=$(python3 -c 'import random; print(round(random.random(), 3))')
    behind=$(python3 -c "print(round($offset - $apart, 3))")
    coproc server { exec python3 "$here/two_clocks.py" "$offset" "-$apart" "$order"; }
    read -r port <&"${server[0]}"
    printf 'run %d, first clock +%s s: ' "$run" "$offset"
    xvfb-run -a "$build/bench/panel_turns" "http://127.0.0.1:$port/" "$offset,$behind" \
        "$seconds" 20 | tr '\n' ' '
    echo
    kill "$server_PID"
    wait "$server_PID" 2>/dev/null || true
done
