#!/usr/bin/env bash
# Builds sheetforge with its tests under AddressSanitizer and UndefinedBehaviorSanitizer and runs them all
# headless: any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-sanitizers -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DSHEETFORGE_SANITIZE=address,undefined \
    -DSHEETFORGE_WARNINGS_AS_ERRORS=ON
cmake --build build-sanitizers -j"$(nproc)"
cd build-sanitizers
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
