#!/usr/bin/env bash
# Runs a test program on Qt's xcb platform under an X server of its own, so
# that it meets the clipboard as other programs of a desktop do. Without Xvfb
# the program runs offscreen, where it skips what needs an X server.
set -uo pipefail
if ! command -v Xvfb > /dev/null; then
    QT_QPA_PLATFORM=offscreen "$@"
    exit $?
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/under-xvfb.XXXXXX")
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3> "$work/display" 2> "$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2
    exit 1
fi
DISPLAY=":$(cat "$work/display")"
export DISPLAY QT_QPA_PLATFORM=xcb
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan-xcb.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# Qt warns on every start without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
"$@"
