#!/usr/bin/env bash
# Renders the manual page as man shows it, with every groff warning on (as
# Debian's checks run it, plus all warnings): any message fails. Exits 77
# (skipped) without man.
#   manual_page_renders.sh PAGE
set -uo pipefail
if ! command -v man >/dev/null 2>&1; then
    echo "skipped: man not found (scripts/install-deps.sh installs man-db)"
    exit 77
fi
messages=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings=w -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)
status=$?
if [ "$status" -ne 0 ] || [ -n "$messages" ]; then
    echo "FAIL man exits with $status:"
    echo "$messages"
    exit 1
fi
echo "rendered without a warning"
