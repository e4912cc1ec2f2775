#!/usr/bin/env bash
# Prints how long opening a document and changing an option take, next to the bare Ghostscript runs
# they order. Ratios, not absolute times, are what compare across machines.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DSHEETFORGE_BENCH=ON > /dev/null
cmake --build build-bench -j"$(nproc)" --target bench_inspection > /dev/null
build-bench/bench/bench_inspection
