#!/usr/bin/env bash
# Builds the Debian package of the committed tree (HEAD): installs the build dependencies debian/control names,
# runs dpkg-buildpackage, and checks the result with lintian. The .deb lands in dist/. Needs root or sudo.
# DEB_BUILD_OPTIONS=nocheck skips the tests, and the packages only they need.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [[ " ${DEB_BUILD_OPTIONS:-} " == *" nocheck "* ]]; then
    export DEB_BUILD_PROFILES="nocheck ${DEB_BUILD_PROFILES:-}"
fi
if ! command -v git >/dev/null || ! command -v lintian >/dev/null || ! dpkg-checkbuilddeps >/dev/null 2>&1; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends git dpkg-dev debhelper lintian
    DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -qq ${DEB_BUILD_PROFILES:+-P "${DEB_BUILD_PROFILES// /,}"} ./
fi
git rev-parse --verify -q HEAD >/dev/null || { echo "package.sh: needs a git checkout of sheetforge" >&2; exit 1; }
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    echo "package.sh: the changes not committed are not in the package; it is built from HEAD" >&2

# dpkg-buildpackage writes beside the tree; a copy keeps the checkout clean and the results in one place.
out=$PWD/dist
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/sheetforge"
git archive HEAD | tar -xf - -C "$work/sheetforge"
(cd "$work/sheetforge" && dpkg-buildpackage -us -uc -b)
mkdir -p "$out"
rm -f "$out"/sheetforge_* "$out"/sheetforge-dbgsym_*
mv "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$out"/
lintian --fail-on error,warning "$out"/sheetforge_*.changes
ls "$out"/sheetforge_*.deb
