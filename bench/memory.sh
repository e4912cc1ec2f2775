#!/usr/bin/env bash
# Peak memory of sheetforge itself (not of Ghostscript, which a shell's "max RSS" would include) while it
# converts a document of one-line pages, at two lengths: the ratio says whether memory grows with the
# page count. Usage: bench/memory.sh [PAGES] [FORMAT] (default 500 and png; the second run has ten times as
# many pages). With tif, every page goes into one multi-page file.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pages=${1:-500}
format=${2:-png}
bench_build
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# peak COUNT: prints "own-peak-kB gs-peak-kB" for a run over COUNT pages.
peak() {
    local count=$1 pdf="$work/lines-$1.pdf" own=0 gs=0 pid gspid value
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$pdf" \
        -c "/Helvetica findfont 12 scalefont setfont 1 1 $count { 72 720 moveto (Line on page ) show 20 string cvs show showpage } for"
    rm -rf "$work/out" && mkdir "$work/out"
    "$sheetforge" --convert "$work/out/p.$format" --dpi 72 "$pdf" 2>/dev/null &
    pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        value=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
        [ "${value:-0}" -gt "$own" ] && own=$value
        for gspid in $(pgrep -P "$pid" gs || true); do
            value=$(awk '/^VmHWM/ {print $2}' "/proc/$gspid/status" 2>/dev/null || echo 0)
            [ "${value:-0}" -gt "$gs" ] && gs=$value
        done
        sleep 0.2
    done
    wait "$pid"
    echo "$own $gs"
}

read -r own_small gs_small < <(peak "$pages")
read -r own_large gs_large < <(peak $((pages * 10)))
printf 'pages %6d: sheetforge peak %6d kB, Ghostscript peak %6d kB\n' "$pages" "$own_small" "$gs_small"
printf 'pages %6d: sheetforge peak %6d kB, Ghostscript peak %6d kB\n' $((pages * 10)) "$own_large" "$gs_large"
awk -v a="$own_small" -v b="$own_large" 'BEGIN { printf "sheetforge: %.2f times the memory for ten times the pages\n", b / a }'
