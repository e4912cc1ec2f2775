#!/usr/bin/env bash
# An all-pages run at the default options (144 dpi, antialiased, 16 colours, png) on a generated
# 30-page document and on the real PDFs given as arguments (a Debian manual by default), next to the
# bare Ghostscript renders and image-library calls it orders. "--resolutions" tries an A4 page at every
# resolution instead; that takes several minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DSHEETFORGE_BENCH=ON > /dev/null
cmake --build build-bench -j"$(nproc)" --target bench_conversion > /dev/null
if [ $# -eq 0 ]; then
    set -- /usr/share/doc/libtasn1-doc/libtasn1.pdf
fi
build-bench/bench/bench_conversion "$@"
