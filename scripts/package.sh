#!/usr/bin/env bash
# Builds the Debian package from this tree: installs the build dependencies debian/control names, then
# dpkg-buildpackage, and checks the result with lintian. The .deb lands in dist/. Needs root or sudo.
# DEB_BUILD_OPTIONS=nocheck skips the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! command -v lintian >/dev/null || ! dpkg-checkbuilddeps >/dev/null 2>&1; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends dpkg-dev debhelper lintian
    DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -qq ./
fi

# dpkg-buildpackage writes beside the tree; a copy keeps the checkout clean and the results in one place.
out=$PWD/dist
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | (mkdir "$work/sheetforge" && tar -xf - -C "$work/sheetforge")
(cd "$work/sheetforge" && dpkg-buildpackage -us -uc -b)
mkdir -p "$out"
rm -f "$out"/sheetforge_*
mv "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$out"/
lintian --fail-on error,warning "$out"/sheetforge_*.changes
ls "$out"/sheetforge_*.deb
