#!/usr/bin/env bash
# Runs a command on a private virtual X display:
#   scripts/with-xvfb.sh COMMAND [ARGS...]
# Starts Xvfb on a free display (1280x800, 24-bit), exports DISPLAY and
# QT_QPA_PLATFORM=xcb, runs the command, stops Xvfb and exits with the
# command's status. Works without any display in the environment, as root or
# as a normal user, and with several runs side by side.
set -uo pipefail

if [ "$#" -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "$0: Xvfb not found (install the xvfb package)" >&2
    exit 127
fi

workdir=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX") || exit 1
xvfb_pid=""
child_pid=""

cleanup() {
    if [ -n "$child_pid" ] && kill -0 "$child_pid" 2>/dev/null; then
        kill -TERM "$child_pid" 2>/dev/null
        wait "$child_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill -TERM "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT
# Exit through the EXIT trap so the command and the server never outlive us.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# -displayfd lets the server pick a free display number itself and tells us
# once it accepts connections, so parallel runs never race for a number.
mkfifo "$workdir/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset \
    3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!

display=""
if ! read -r -t 30 display <"$workdir/display" || [ -z "$display" ]; then
    echo "$0: Xvfb did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi

export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

# In the background so a signal reaches our traps at once; the explicit
# redirection keeps the caller's standard input for the command.
"$@" <&0 &
child_pid=$!
wait "$child_pid"
status=$?
child_pid=""
exit "$status"
