#!/usr/bin/env bash
# Fails when the README's table of packages and the packages the setup installs differ: each one installed is
# explained there, and no other.
set -euo pipefail
cd "$(dirname "$0")/.."
installed=$(sed -n '/^packages=(/,/^)/{/^packages=(/d;/^)/d;s/#.*//;p}' scripts/install-deps.sh | tr -s ' ' '\n' |
    sed '/^$/d' | sort)
explained=$(sed -nE 's/^\| (`[^|]+`) \|.*/\1/p' README.md | tr -d '`' | sed 's/, /\n/g' | sort)
if [[ $installed != "$explained" ]] || (($(wc -l <<<"$installed") < 15)); then
    echo "README: its table of packages and scripts/install-deps.sh differ (< installed, > explained):"
    diff <(echo "$installed") <(echo "$explained") || true
    exit 1
fi
echo "README: every package the setup installs is explained, and no other"
