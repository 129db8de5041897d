#!/usr/bin/env bash
# Installs what is missing, builds Quillpost and makes its Debian package:
#   scripts/package.sh        ->  build/package/quillpost_<version>_<arch>.deb
# Install it with: apt install ./build/package/quillpost_*.deb
# The package's maintainer is taken from DEBFULLNAME and DEBEMAIL, as
# Debian's own tools take it; without them it names a local build, and the
# packaging step says so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
rm -f build/package/quillpost_*.deb
# The library dependencies come from dpkg-shlibdeps on the packaged files.
(cd build && cpack -G DEB)
ls build/package/quillpost_*.deb
