# shellcheck shell=bash
# Sourced by the benchmark scripts beside it: the build, the generated documents and small readers.
# The caller has set -euo pipefail.

export LC_ALL=C # bash's EPOCHREALTIME and printf %f follow the locale's decimal point

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bench_build_dir="$bench_root/build-bench"
# shellcheck disable=SC2034 # read by the scripts that source this file
sheetforge="$bench_build_dir/src/sheetforge"
# shellcheck disable=SC2034
bench_preview="$bench_build_dir/bench/bench_preview"

# A build of its own, so nobody else's build directory or options are touched.
bench_build() {
    local log
    log=$(mktemp)
    if ! { cmake -S "$bench_root" -B "$bench_build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DSHEETFORGE_BENCH=ON && cmake --build "$bench_build_dir" -j"$(nproc)" --target sheetforge bench_preview; } \
        >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "the build failed" >&2
        exit 1
    fi
    rm -f "$log"
}

# make_document PAGES OUT.pdf: A4 pages (595.28 x 841.89 points) of text, colour bars and shapes.
make_document() {
    local ps="$2.ps"
    cat >"$ps" <<'EOF'
%!PS
<< /PageSize [595.276 841.89] >> setpagedevice
/NimbusSans-Regular findfont 12 scalefont setfont
1 1 PAGES { /n exch def
  0 1 15 { /i exch def i 16 div 0.9 0.9 sethsbcolor 40 i 32 mul add 640 28 100 rectfill } for
  0 1 63 { /i exch def i 63 div dup 0.5 setrgbcolor 40 i 8 mul add 600 8 30 rectfill } for
  0.9 0.3 0.1 setrgbcolor newpath 450 500 70 0 360 arc fill
  0 0.5 0.2 setrgbcolor 4 setlinewidth newpath 60 470 moveto 300 560 lineto 540 450 lineto stroke
  0 setgray 60 780 moveto (Page ) show n 10 string cvs show
  0 1 26 { /i exch def 60 420 i 14 mul sub moveto
    (The quick brown fox jumps over the lazy dog. 0123456789 Sphinx of black quartz, judge my vow.) show } for
  showpage } for
EOF
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -dPAGES="$1" -sOutputFile="$2" "$ps"
    rm -f "$ps"
}

now() { echo "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

page_count() {
    gs -q -dNODISPLAY -dSAFER -dBATCH -dNOPAUSE -dPDFINFO -dFirstPage=1 -dLastPage=1 "$1" 2>&1 |
        sed -n 's/^ *File has \([0-9]*\) pages\{0,1\}.*/\1/p'
}

# The first page's size in points as Ghostscript reads it: "W H".
page_points() {
    gs -q -dNODISPLAY -dSAFER -dBATCH -dNOPAUSE -dPDFINFO -dFirstPage=1 -dLastPage=1 "$1" 2>&1 |
        sed -n 's/^Page 1 MediaBox: \[\([-0-9. ]*\)\].*/\1/p' | awk '{ print $3 - $1, $4 - $2 }'
}

# WIDTHxHEIGHT from a PNG's header, without an image library.
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%dx%d\n", $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}

# The live (not zombie) processes whose parent is $1.
children_of() {
    local parent=$1 f line rest
    for f in /proc/[0-9]*/stat; do
        { read -r line <"$f"; } 2>/dev/null || continue
        rest=${line##*) }
        read -r -a fields <<<"$rest"
        [ "${fields[1]}" = "$parent" ] && [ "${fields[0]}" != Z ] && { f=${f#/proc/}; echo "${f%/stat}"; }
    done
    return 0
}

is_alive() { [ -r "/proc/$1/stat" ] && ! grep -q '^[0-9]* (.*) Z ' "/proc/$1/stat" 2>/dev/null; }

# Peak resident memory so far, in KiB; empty once the process is gone.
peak_rss_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true; }
