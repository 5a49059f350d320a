#!/usr/bin/env bash
# Runs a test program in a desktop session of its own: an X server (Xvfb),
# a session bus, and a runtime folder, where the session's services (the
# accessibility bus among them) keep their sockets apart from any other
# session's running beside it. ORVANE_TEST_SCREEN sets the screen's size.
set -euo pipefail
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
dbus-run-session -- xvfb-run -a -s "-screen 0 ${ORVANE_TEST_SCREEN:-1024x768x24}" "$@"
