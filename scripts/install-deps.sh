#!/usr/bin/env bash
# Installs the Debian 12 packages Quillpost needs to build, run and test.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  libicu-dev libxcb1-dev libxcb-xkb-dev libgumbo-dev libopencc-dev libhunspell-dev
  # the Markdown export checked against a real CommonMark renderer, the
  # Chinese conversion against OpenCC's own command, the spell check against
  # hunspell's
  cmark-gfm opencc hunspell
  libgtest-dev libgmock-dev libbenchmark-dev
  # run
  qt6-qpa-plugins qt6-image-formats-plugins qt6-translations-l10n
  fonts-arphic-uming fonts-noto-cjk
  # the English spell check's dictionary
  hunspell-en-us
  # tests and screenshots under a virtual display
  xvfb xauth xdotool xclip x11-utils imagemagick python3
  # desktop entry and description checks, the Debian package and its checks,
  # the manual page
  desktop-file-utils appstream dpkg-dev file lintian man-db
  # reading printed PDF files back
  poppler-utils
  # a notification area for the tray icon tests
  trayer
  # the whole-program timings of the benchmarks
  time
  # fuzzing (libFuzzer) and the sanitizer build
  clang libclang-rt-14-dev llvm
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
