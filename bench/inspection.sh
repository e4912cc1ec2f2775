#!/usr/bin/env bash
# Opening generated documents of 10, 100 and 1000 pages with the preview renderer (page count, first page,
# colour reduction) next to a bare "gs -dPDFINFO" run and a bare render of that page, measured in the same
# run. BENCH_RUNS sets how many runs each median takes (3 by default).
set -euo pipefail
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"

command -v gs >/dev/null || { echo "gs is missing: run scripts/install-deps.sh" >&2; exit 1; }
bench_build
work=$(mktemp -d "${TMPDIR:-/tmp}/sheetforge-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

documents=()
for pages in 10 100 1000; do
    make_document "$pages" "$work/a4-$pages.pdf"
    documents+=("$work/a4-$pages.pdf")
done
HOME="$work" "$bench_preview" --runs "${BENCH_RUNS:-3}" open "${documents[@]}"
