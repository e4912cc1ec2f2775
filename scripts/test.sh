#!/usr/bin/env bash
# Installs what is missing, builds sheetforge with its tests and runs them all headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DSHEETFORGE_WARNINGS_AS_ERRORS=ON
cmake --build build-tests -j"$(nproc)"
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
