#!/usr/bin/env bash
# Copies a whole page in Debian's Chromium, as a user does with Ctrl+A and
# Ctrl+C, and writes what Chromium put on the clipboard as text/html:
#   scripts/capture-clipboard-html.sh PAGE.html OUT.html
# Made for the HTML import's tests (tests/convert/data/). Runs Chromium on a
# private Xvfb display; installs chromium, xdotool and xclip when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$#" -ne 2 ]; then
    echo "usage: $0 PAGE.html OUT.html" >&2
    exit 2
fi
page=$(realpath "$1")
out=$(realpath -m "$2")
for p in chromium xdotool xclip; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            chromium xdotool xclip
        break
    fi
done

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
export PAGE="$page" OUT="$out" PROFILE="$profile"
scripts/with-xvfb.sh bash -c '
    chromium --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$PROFILE" --window-size=1200,900 "file://$PAGE" >/dev/null 2>&1 &
    browser=$!
    for _ in $(seq 60); do
        xdotool search --onlyvisible --class chromium >/dev/null 2>&1 && break
        sleep 0.5
    done
    sleep 3
    xdotool mousemove 400 400 click 1
    sleep 0.5
    xdotool key ctrl+a
    sleep 0.5
    xdotool key ctrl+c
    sleep 1
    xclip -o -selection clipboard -t text/html > "$OUT"
    kill $browser
'
echo "wrote $out ($(wc -c < "$out") bytes)"
