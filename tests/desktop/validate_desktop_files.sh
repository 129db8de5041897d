#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the menu entry and
# the software-centre description there as a desktop and a software centre
# read them. Exits 77 (skipped) when the checking tools are missing.
#   validate_desktop_files.sh BUILD-DIR
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool not found (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
prefix=$(mktemp -d "${TMPDIR:-/tmp}/quillpost-prefix.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.quillpost.Quillpost
desktop-file-validate "$prefix/share/applications/$id.desktop"
# The tree as installed: the description, its desktop entry and its icon.
appstreamcli validate-tree --strict --no-net "$prefix"
icon=$(sed -n 's/^Icon=//p' "$prefix/share/applications/$id.desktop")
for size in 16 22 24 32 48 64 128 256; do
    file="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    dims=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$file")
    if [ "$dims" != "${size}x${size}" ]; then
        echo "FAIL $file is $dims, not ${size}x${size}"
        exit 1
    fi
done
test -s "$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
echo "desktop entry, description and icons valid"
