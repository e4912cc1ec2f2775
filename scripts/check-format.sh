#!/usr/bin/env bash
# Fails when a C++ file differs from what clang-format makes of it (.clang-format at the top).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || scripts/install-deps.sh
mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files formatted"
