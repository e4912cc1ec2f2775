#!/usr/bin/env bash
# Installs the Debian 12 packages sheetforge builds, runs and tests with. Needs root or sudo.
set -euo pipefail

packages=(
    cmake g++ make pkg-config          # the build
    qt6-base-dev qt6-base-dev-tools    # Qt 6 Widgets, moc and uic
    qt6-tools-dev qt6-l10n-tools       # lrelease, lupdate and their CMake package, for the translations
    qt6-translations-l10n              # Qt's own buttons and dialogs in German and French
    libgl-dev                          # Qt6Gui's CMake package wants the OpenGL headers
    libmagickwand-6.q16-dev            # ImageMagick, linked in-process for trimming, colours and resizing
    libdeflate-dev                     # compresses the PNGs we write ourselves
    libtiff-dev                        # joins the pages of a multi-page TIFF
    ghostscript fonts-droid-fallback   # renders the PDF pages; the fallback font covers Asian text
    xvfb xauth x11-apps xdotool        # a headless display to drive and photograph the real window
    clang-format                       # the formatting check in CI
    qpdf poppler-utils                 # encrypted test documents; pdftoppm is the benchmarks' peer
    man-db groff-base zsh fish         # the tests read the manual page and run the shell completions
    appstream desktop-file-utils       # the tests validate the AppStream metadata and the desktop entry
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
