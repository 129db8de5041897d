#!/usr/bin/env bash
# Builds and runs every benchmark, each beside its baseline in the same run:
#   scripts/bench.sh [--runs N]     (N start-ups of each program, default 20)
# The routines run as they are; the preview and start-up run on a private
# Xvfb display. Figures vary from run to run on a busy machine; the ratios
# are what to compare.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=20
if [ "${1:-}" = "--runs" ]; then runs="$2"; fi

scripts/install-deps.sh
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target \
  quillpost quillpost_preview quillpost_printing plain_editor bench_convert bench_codec bench_preview \
  bench_editor write_post bench_colouring soak_preview bench_export bench_spell

results=$(mktemp -d "${TMPDIR:-/tmp}/quillpost-bench.XXXXXX")
trap 'rm -rf "$results"' EXIT
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi

echo "== Conversion and stripping (1, 10, 50 MB posts)"
build/bench/bench_convert --benchmark_out="$results/convert.json" --benchmark_out_format=json
echo "== Big5 decoding and encoding (1, 10, 50 MB posts)"
build/bench/bench_codec --benchmark_out="$results/codec.json" --benchmark_out_format=json
echo "== Ratios of the routines"
bench/ratios.py "$results/convert.json" "$results/codec.json"

echo "== The command-line conversion of a 10 MB Big5 post beside sed"
bench/command_line.py build/src/quillpost build/bench/write_post

echo "== The post written for other forums, beside Qt's HTML import alone"
build/bench/bench_export
echo "== The command-line Markdown export of a 10 MB post beside pandoc"
if ! command -v pandoc >/dev/null; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends pandoc
fi
bench/export_command_line.py build/src/quillpost build/bench/write_post --runs 1

echo "== Simplified to Traditional Chinese of a 10 MB post beside OpenCC's command"
bench/script_command_line.py build/src/quillpost build/bench/write_post --runs 3

echo "== Warm preview of a 100 KB post beside a bare QWebEngineView"
# (the engine's own messages go to a log)
scripts/with-xvfb.sh build/bench/bench_preview 2>"$results/preview.log"

echo "== A long session: 500 updates of the live preview of a 100 KB post"
scripts/with-xvfb.sh build/bench/soak_preview 500 2>"$results/soak.log"

echo "== The editor on a 10 MB document beside a bare QPlainTextEdit (offscreen)"
build/bench/bench_editor 10 20
echo "== The same on a 100 KB post"
build/bench/bench_editor 0.1 40

echo "== Tag colouring on a 10 MB document beside a bare QPlainTextEdit (offscreen)"
build/bench/bench_colouring 10 20

echo "== The English spell check beside hunspell's command, and keystrokes and paging with it on beside off (offscreen)"
build/bench/bench_spell 8

echo "== Start-up to a mapped window beside a plain QPlainTextEdit program"
scripts/with-xvfb.sh bench/startup.py build/src/quillpost build/bench/plain_editor --runs "$runs"
