#!/usr/bin/env bash
# Installs what is missing, builds Quillpost and runs every test. Tests that
# need an X display start their own Xvfb; the rest run offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 300
cd ..
# The fuzzers, a few seconds each on their seed corpus.
scripts/fuzz-and-sanitize.sh --fuzz-only 3
