#!/usr/bin/env bash
# Makes the Debian package from the build, as scripts/package.sh does but
# into a folder of its own, and checks it as Debian checks packages: lintian
# reports no error and no warning, and the manual page, the completion and
# the licence are in it. Exits 77 (skipped) when the package cannot be made.
#   lintian_package.sh BUILD-DIR
set -uo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool not found, the package cannot be made and checked here" \
             "(scripts/install-deps.sh installs it)"
        exit 77
    fi
done
out=$(mktemp -d "${TMPDIR:-/tmp}/quillpost-package.XXXXXX")
trap 'rm -rf "$out"' EXIT
if ! (cd "$build" && cpack -G DEB -B "$out") >"$out/cpack.log" 2>&1; then
    echo "skipped: the package cannot be made from $build; cpack says:"
    tail -n 20 "$out/cpack.log"
    exit 77
fi
deb=$(ls "$out"/quillpost_*.deb)

status=0
contents=$(dpkg-deb -c "$deb")
for file in usr/share/man/man1/quillpost.1.gz usr/share/bash-completion/completions/quillpost \
            usr/share/doc/quillpost/copyright usr/share/doc/quillpost/changelog.gz; do
    if ! grep -q " \./$file\$" <<<"$contents"; then
        echo "FAIL $file is not in the package"
        status=1
    fi
done
# Informational and pedantic tags are shown too; only errors and warnings fail.
report=$(lintian --display-info --fail-on error,warning "$deb" 2>&1)
lintian_status=$?
grep -v "running with root privileges" <<<"$report"
if [ "$lintian_status" -ne 0 ]; then
    echo "FAIL lintian reports errors or warnings"
    status=1
fi
[ "$status" -eq 0 ] && echo "package complete; lintian reports no error and no warning"
exit "$status"
