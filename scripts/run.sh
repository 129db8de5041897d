#!/usr/bin/env bash
# Installs what is missing, builds Quillpost and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
# The preview's browser engine cannot use its sandbox when run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
exec build/src/quillpost "$@"
