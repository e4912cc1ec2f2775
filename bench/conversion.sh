#!/usr/bin/env bash
# Conversion benchmark. Every number comes with a peer measured in the same run, since only ratios compare
# across machines; nothing here asserts a time.
#   bench/conversion.sh [FILE.pdf ...]    all pages at the default options on a generated 30-page A4
#                                         document and the files given (two Debian manuals by default), next
#                                         to pdftoppm and Ghostscript alone; the preview after an option
#                                         change; how fast a 1200 dpi page stops on SIGTERM
#   bench/conversion.sh --large           peak memory and temporary disk of one A4 page at 2400 dpi,
#                                         then a stop while the image library works on it (minutes)
#   bench/conversion.sh --resolutions     one A4 page at every offered resolution, antialiased and not:
#                                         time and output size against the predicted size (long)
#   bench/conversion.sh --batch [--against REV]
#                                         20 one-page documents in one run: its time, and how busy the two
#                                         workers and the two cores were over it
#   bench/conversion.sh --stages [--against REV] [FILE.pdf]
#                                         all pages at the defaults (a 93-page manual unless given) next to
#                                         mutool draw on one thread and with -P: pages/s, output size, and where
#                                         sheetforge's time went, stage by stage, with how busy each worker
#                                         was; --against builds revision REV too and compares its speed, its
#                                         output size, and each page's colours and pixels
# BENCH_RUNS sets how many runs each median takes (3 by default). BENCH_OPTIONS adds sheetforge options after
# the defaults in --stages, for another depth: BENCH_OPTIONS="--colors gray". BENCH_CACHE names a folder that keeps
# the build of --against's revision from one run to the next.
set -euo pipefail
# shellcheck source=bench/common.sh
source "$(dirname "$0")/common.sh"

mode=default
files=()
against=""
for arg in "$@"; do
    if [ "$against" = next ]; then
        against=$arg
        continue
    fi
    case "$arg" in
    --large) mode=large ;;
    --resolutions) mode=resolutions ;;
    --stages) mode=stages ;;
    --batch) mode=batch ;;
    --against)
        against=next
        continue
        ;;
    -h | --help)
        sed -n '2,23p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    -*)
        echo "unknown option $arg" >&2
        exit 2
        ;;
    *) files+=("$arg") ;;
    esac
done
runs=${BENCH_RUNS:-3}
read -r -a extra <<<"${BENCH_OPTIONS:-}"

command -v gs >/dev/null || { echo "gs is missing: run scripts/install-deps.sh" >&2; exit 1; }
bench_build

work=$(mktemp -d "${TMPDIR:-/tmp}/sheetforge-bench.XXXXXX")
started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home"

# The defaults spelled out, so whatever a user stored cannot change what is measured.
defaults=(--colors 16 --no-dither --no-trim --antialias --format png)
# HOME points at an empty folder so the user's settings are neither read nor written; the messages read below are
# the English ones, whatever the user's language.
sheetforge_in() { # TMPDIR, then sheetforge's arguments
    local tmp=$1
    shift
    program_in "$sheetforge" "$tmp" "$@"
}
program_in() { # program, TMPDIR, then its arguments
    local program=$1 tmp=$2
    shift 2
    env -u XDG_CONFIG_HOME -u LANGUAGE LC_ALL=C.UTF-8 HOME="$work/home" TMPDIR="$tmp" "$program" "$@"
}

problems=()
problem() { problems+=("$*"); }

# Anything left in a private temporary folder or beside the images once sheetforge has gone.
check_leftovers() { # what, temporary folder, destination folder
    local left
    left=$(find "$2" -mindepth 1 -maxdepth 1 -printf '%f ' 2>/dev/null)
    [ -z "$left" ] || problem "$1: left in its TMPDIR: $left"
    left=$(find "$3" -mindepth 1 -maxdepth 1 ! -name '*.png' -printf '%f ' 2>/dev/null)
    [ -z "$left" ] || problem "$1: left beside the images: $left"
}

report_problems() {
    echo
    if [ ${#problems[@]} -eq 0 ]; then
        echo "checks: no failures, leftovers or surviving gs seen"
    else
        echo "checks failed:"
        printf '  %s\n' "${problems[@]}"
    fi
}

all_pages() {
    local pdf=$1 name pages run t0 rc
    local sf=() pp=() g=()
    name=$(basename "$pdf")
    pages=$(page_count "$pdf")
    if [ -z "$pages" ]; then
        problem "$name: Ghostscript finds no pages"
        return
    fi
    for ((run = 1; run <= runs; run++)); do
        rm -rf "$work/sf" "$work/pp" "$work/gs" "$work/tmp"
        mkdir -p "$work/sf" "$work/pp" "$work/gs" "$work/tmp"

        t0=$EPOCHREALTIME
        rc=0
        sheetforge_in "$work/tmp" --convert "$work/sf/p.png" --dpi 144 "${defaults[@]}" "$pdf" 2>"$work/sf.err" ||
            rc=$?
        sf+=("$(elapsed "$t0" "$EPOCHREALTIME")")
        [ "$rc" -eq 0 ] || problem "$name: sheetforge exited with $rc: $(tail -n 3 "$work/sf.err" | tr '\n' ' ')"
        check_leftovers "$name, sheetforge" "$work/tmp" "$work/sf"

        if [ -n "$pdftoppm" ]; then
            t0=$EPOCHREALTIME
            pdftoppm -r 144 -png "$pdf" "$work/pp/p"
            pp+=("$(elapsed "$t0" "$EPOCHREALTIME")")
        fi

        t0=$EPOCHREALTIME
        gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r144 -dTextAlphaBits=4 -dGraphicsAlphaBits=1 \
            -sOutputFile="$work/gs/p%04d.png" "$pdf"
        g+=("$(elapsed "$t0" "$EPOCHREALTIME")")
    done

    local nsf npp ngs
    nsf=$(find "$work/sf" -name '*.png' -size +0 | wc -l)
    npp=$(find "$work/pp" -name '*.png' -size +0 | wc -l)
    ngs=$(find "$work/gs" -name '*.png' -size +0 | wc -l)
    [ "$nsf" -eq "$pages" ] || problem "$name: sheetforge wrote $nsf images for $pages pages"
    [ "$ngs" -eq "$pages" ] || problem "$name: gs wrote $ngs images for $pages pages"

    # Same resolution: sheetforge's pages must have Ghostscript's sizes exactly.
    local sizes=same a b
    local -a sfs gss
    mapfile -t sfs < <(find "$work/sf" -name '*.png' | sort)
    mapfile -t gss < <(find "$work/gs" -name '*.png' | sort)
    for ((i = 0; i < ${#sfs[@]} && i < ${#gss[@]}; i++)); do
        a=$(png_size "${sfs[i]}")
        b=$(png_size "${gss[i]}")
        if [ "$a" != "$b" ]; then
            sizes=differ
            problem "$name page $((i + 1)): sheetforge ${a}, gs ${b}"
        fi
    done

    local msf mpp mg rsf rpp rg rpp_ratio=n/a rg_ratio
    msf=$(median "${sf[@]}")
    mg=$(median "${g[@]}")
    rsf=$(awk -v p="$pages" -v t="$msf" 'BEGIN { printf "%.2f", p / t }')
    rg=$(awk -v p="$pages" -v t="$mg" 'BEGIN { printf "%.2f", p / t }')
    rg_ratio=$(awk -v a="$rsf" -v b="$rg" 'BEGIN { printf "%.2f", a / b }')
    rpp=n/a
    if [ -n "$pdftoppm" ]; then
        mpp=$(median "${pp[@]}")
        rpp=$(awk -v p="$pages" -v t="$mpp" 'BEGIN { printf "%.2f", p / t }')
        rpp_ratio=$(awk -v a="$rsf" -v b="$rpp" 'BEGIN { printf "%.2f", a / b }')
    fi
    printf '%-30s %5d %10s %10s %10s %11s %6s %10s %8s\n' "$name" "$pages" "$rsf" "$rpp" "$rg" "$rpp_ratio" \
        "$rg_ratio" "$nsf/$npp/$ngs" "$sizes"
}

cancel_latency() {
    local pdf=$1 tmp="$work/tmp-cancel" dest="$work/cancel" pid rc=0 t0 t1 deadline
    mkdir -p "$tmp" "$dest"
    env -u XDG_CONFIG_HOME HOME="$work/home" TMPDIR="$tmp" "$sheetforge" --convert "$dest/p.png" --dpi 1200 \
        "${defaults[@]}" "$pdf" 2>"$work/cancel.err" &
    pid=$!
    started+=("$pid")
    deadline=$((SECONDS + 300))
    until grep -q '^Processing page' "$work/cancel.err"; do
        if ! is_alive "$pid" || [ "$SECONDS" -ge "$deadline" ]; then
            problem "cancel: no page began: $(tail -n 3 "$work/cancel.err" | tr '\n' ' ')"
            return
        fi
        sleep 0.05
    done
    sleep 1
    local children
    children=$(children_of "$pid" | xargs)
    t0=$EPOCHREALTIME
    kill -TERM "$pid"
    wait "$pid" || rc=$?
    t1=$EPOCHREALTIME
    started=()
    local alive_now="" alive_later="" c
    for c in $children; do is_alive "$c" && alive_now+="$c "; done
    sleep 1
    for c in $children; do is_alive "$c" && alive_later+="$c "; done
    local leftover
    leftover=$(find "$tmp" -mindepth 1 -maxdepth 1 -name 'SFG-*' -printf '%f ' 2>/dev/null)
    local written
    written=$(find "$dest" -mindepth 1 | wc -l)

    echo "SIGTERM 1 s into page 1 at 1200 dpi ($(basename "$pdf")):"
    printf '  exit after SIGTERM          %8.0f ms (exit code %d: "%s")\n' \
        "$(awk -v a="$t0" -v b="$t1" 'BEGIN { print (b - a) * 1000 }')" "$rc" "$(tail -n 1 "$work/cancel.err")"
    echo "  pages begun                 $(grep -c '^Processing page' "$work/cancel.err")"
    echo "  children at SIGTERM         ${children:-none}"
    echo "  alive when it exited        ${alive_now:-none}"
    echo "  alive 1 s later             ${alive_later:-none}"
    echo "  SFG-* left in its TMPDIR    ${leftover:-none}"
    echo "  files in the destination    $written"
    [ -z "$children" ] && problem "cancel: sheetforge had no child 1 s into the page"
    [ -z "$alive_later" ] || problem "cancel: gs survived sheetforge: $alive_later"
    [ -z "$leftover" ] || problem "cancel: left in its TMPDIR: $leftover"
    [ "$rc" -ne 0 ] || problem "cancel: a stopped conversion exited with 0"
    for c in $alive_later; do kill -KILL "$c" 2>/dev/null || true; done
}

large_page() {
    local pdf=$1 tmp="$work/tmp-large" dest="$work/large" pid rc=0 t0 v c d
    local peak_sf=0 peak_gs=0 peak_disk=0 gs_pids="" others=""
    mkdir -p "$tmp" "$dest"
    t0=$EPOCHREALTIME
    env -u XDG_CONFIG_HOME HOME="$work/home" TMPDIR="$tmp" "$sheetforge" --convert "$dest/page.png" --dpi 2400 \
        "${defaults[@]}" "$pdf" 2>"$work/large.err" &
    pid=$!
    started+=("$pid")
    # VmHWM is the kernel's own high-water mark, so polling only has to catch each process before it ends.
    while is_alive "$pid"; do
        v=$(peak_rss_kb "$pid")
        [ -n "$v" ] && [ "$v" -gt "$peak_sf" ] && peak_sf=$v
        for c in $(children_of "$pid"); do
            if [ "$(cat "/proc/$c/comm" 2>/dev/null)" = gs ]; then
                [[ " $gs_pids " == *" $c "* ]] || gs_pids+="$c "
                v=$(peak_rss_kb "$c")
                [ -n "$v" ] && [ "$v" -gt "$peak_gs" ] && peak_gs=$v
            else
                others+="$c "
            fi
        done
        d=$(du -sb "$tmp" 2>/dev/null | cut -f1 || true)
        [ -n "$d" ] && [ "$d" -gt "$peak_disk" ] && peak_disk=$d
        sleep 0.5
    done
    wait "$pid" || rc=$?
    started=()
    local seconds
    seconds=$(elapsed "$t0" "$EPOCHREALTIME")

    local points expected actual="none" bytes=0
    points=$(page_points "$pdf")
    expected=$(awk -v w="${points% *}" -v h="${points#* }" -v d=2400 \
        'BEGIN { printf "%dx%d", int(w * d / 72 + 0.5), int(h * d / 72 + 0.5) }')
    if [ -s "$dest/page.png" ]; then
        actual=$(png_size "$dest/page.png")
        bytes=$(stat -c %s "$dest/page.png")
    fi
    echo "one A4 page at 2400 dpi, antialiased, 16 colours, png ($(basename "$pdf")):"
    printf '  time                        %8s s (exit code %d: "%s")\n' "$seconds" "$rc" "$(tail -n 1 "$work/large.err")"
    printf '  peak RSS of sheetforge      %8s MiB\n' "$(awk -v k="$peak_sf" 'BEGIN { printf "%.0f", k / 1024 }')"
    printf '  peak RSS of gs              %8s MiB (gs processes: %s)\n' \
        "$(awk -v k="$peak_gs" 'BEGIN { printf "%.0f", k / 1024 }')" "$(echo "${gs_pids:-none seen}" | xargs)"
    printf '  peak temporary disk         %8s MiB\n' "$(awk -v b="$peak_disk" 'BEGIN { printf "%.0f", b / 1048576 }')"
    printf '  image                       %s (expected %s), %s bytes\n' "$actual" "$expected" "$bytes"
    [ -z "$others" ] || echo "  other children              $others"
    [ "$rc" -eq 0 ] || problem "2400 dpi: sheetforge exited with $rc: $(tail -n 3 "$work/large.err" | tr '\n' ' ')"
    [ "$actual" = "$expected" ] || problem "2400 dpi: image $actual, expected $expected"
    check_leftovers "2400 dpi" "$tmp" "$dest"
}

# A stop while the image library works on a huge page, after Ghostscript is done: the workers are not
# waited for, so this is where a spill file could outlive the program. Dithered, since the library does that
# reduction; the one without dithering is ours and spills nothing.
cancel_in_library() {
    local pdf=$1 tmp="$work/tmp-stop" dest="$work/stop" pid rc=0 t0 t1 deadline spill
    mkdir -p "$tmp" "$dest"
    env -u XDG_CONFIG_HOME HOME="$work/home" TMPDIR="$tmp" "$sheetforge" --convert "$dest/page.png" --dpi 2400 \
        "${defaults[@]/--no-dither/--dither}" "$pdf" 2>"$work/stop.err" &
    pid=$!
    started+=("$pid")
    deadline=$((SECONDS + 600))
    until grep -q '^Processing page' "$work/stop.err" && [ -z "$(children_of "$pid")" ] &&
        [ -n "$(find "$tmp" -name 'magick-*' -size +1G 2>/dev/null)" ]; do
        if ! is_alive "$pid" || [ "$SECONDS" -ge "$deadline" ]; then
            problem "stop in the image library: never got there: $(tail -n 3 "$work/stop.err" | tr '\n' ' ')"
            return
        fi
        sleep 0.2
    done
    spill=$(du -sb "$tmp" 2>/dev/null | cut -f1 || true)
    t0=$EPOCHREALTIME
    kill -TERM "$pid"
    wait "$pid" || rc=$?
    t1=$EPOCHREALTIME
    started=()
    local left
    left=$(find "$tmp" -mindepth 1 -maxdepth 1 -printf '%f ' 2>/dev/null)
    echo "SIGTERM while the image library dithers that page (gs done, $(awk -v b="${spill:-0}" \
        'BEGIN { printf "%.0f", b / 1048576 }') MiB in its TMPDIR):"
    printf '  exit after SIGTERM          %8.0f ms (exit code %d: "%s")\n' \
        "$(awk -v a="$t0" -v b="$t1" 'BEGIN { print (b - a) * 1000 }')" "$rc" "$(tail -n 1 "$work/stop.err")"
    echo "  left in its TMPDIR          ${left:-nothing}"
    echo "  files in the destination    $(find "$dest" -mindepth 1 | wc -l)"
    [ -z "$left" ] || problem "stop in the image library: left in its TMPDIR: $left"
    [ "$rc" -ne 0 ] || problem "stop in the image library: a stopped conversion exited with 0"
}

resolutions() {
    local pdf=$1 points w h dpi aa flag t0 rc seconds actual bytes program formula
    points=$(page_points "$pdf")
    w=${points% *}
    h=${points#* }
    echo "one A4 page (${w} x ${h} points) at each offered resolution, 16 colours, png:"
    printf '%6s %-10s %9s %12s %13s %13s %13s\n' dpi antialias seconds bytes image program gs-formula
    for dpi in 72 96 120 144 192 300 600 1200 2400; do
        for aa in on off; do
            flag=--antialias
            [ "$aa" = on ] || flag=--no-antialias
            rm -rf "$work/res" "$work/tmp-res"
            mkdir -p "$work/res" "$work/tmp-res"
            t0=$EPOCHREALTIME
            rc=0
            sheetforge_in "$work/tmp-res" --convert "$work/res/page.png" --dpi "$dpi" "${defaults[@]}" "$flag" \
                "$pdf" 2>"$work/res.err" || rc=$?
            seconds=$(elapsed "$t0" "$EPOCHREALTIME")
            actual=none
            bytes=0
            if [ -s "$work/res/page.png" ]; then
                actual=$(png_size "$work/res/page.png")
                bytes=$(stat -c %s "$work/res/page.png")
            fi
            # The program's own read-out and Ghostscript's rounding, worked out independently.
            # Antialiased or not, the device's own rounding.
            program=$("$bench_preview" sizes "$w" "$h" "$dpi" | awk '{ print $2 "x" $3 }')
            formula=$(awk -v w="$w" -v h="$h" -v d="$dpi" \
                'BEGIN { printf "%dx%d", int(w * d / 72 + 0.5), int(h * d / 72 + 0.5) }')
            printf '%6d %-10s %9s %12s %13s %13s %13s\n' "$dpi" "$aa" "$seconds" "$bytes" "$actual" "$program" \
                "$formula"
            [ "$rc" -eq 0 ] || problem "$dpi dpi antialias $aa: exit $rc: $(tail -n 3 "$work/res.err" | tr '\n' ' ')"
            [ "$actual" = "$formula" ] || problem "$dpi dpi antialias $aa: image $actual, gs rounding gives $formula"
            [ "$program" = "$formula" ] || problem "$dpi dpi antialias $aa: read-out $program, gs rounding $formula"
            check_leftovers "$dpi dpi antialias $aa" "$work/tmp-res" "$work/res"
        done
    done
}


# Another revision built from its own sources, for the same measurements in the same run.
build_revision() { # revision; prints the program's path
    # BENCH_CACHE keeps the build for the next run against the same revision.
    local where=${BENCH_CACHE:-$work}/rev-$1
    local source="$where/src" build="$where/build"
    if [ -n "${BENCH_CACHE:-}" ] && [ -x "$build/src/sheetforge" ]; then
        echo "$build/src/sheetforge"
        return
    fi
    rm -rf "$source"
    mkdir -p "$source"
    git -C "$bench_root" archive "$1" | tar -x -C "$source"
    if ! { cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF &&
        cmake --build "$build" -j"$(nproc)" --target sheetforge; } >"$work/rev-build.log" 2>&1; then
        tail -n 20 "$work/rev-build.log" >&2
        echo "revision $1 did not build" >&2
        exit 1
    fi
    echo "$build/src/sheetforge"
}

stages() {
    local pdf=$1 name pages run t0 rc other=""
    name=$(basename "$pdf")
    pages=$(page_count "$pdf")
    [ -z "$against" ] || other=$(build_revision "$against")
    local sf=() mu=() mup=() rev=() timing=()
    for ((run = 1; run <= runs; run++)); do
        rm -rf "$work/sf" "$work/mu" "$work/rev" "$work/tmp"
        mkdir -p "$work/sf" "$work/mu" "$work/rev" "$work/tmp"
        t0=$EPOCHREALTIME
        rc=0
        QT_LOGGING_RULES="sheetforge.timing.info=true" sheetforge_in "$work/tmp" --convert "$work/sf/p.png" \
            --dpi 144 "${defaults[@]}" "${extra[@]}" "$pdf" 2>"$work/sf.err" || rc=$?
        sf+=("$(elapsed "$t0" "$EPOCHREALTIME")")
        [ "$rc" -eq 0 ] || problem "$name: sheetforge exited with $rc: $(tail -n 3 "$work/sf.err" | tr '\n' ' ')"
        timing+=("$(sed -n 's/^.*sheetforge.timing: //p' "$work/sf.err")")

        t0=$EPOCHREALTIME
        mutool draw -q -r 144 -o "$work/mu/p%04d.png" "$pdf" 2>/dev/null
        mu+=("$(elapsed "$t0" "$EPOCHREALTIME")")

        # -P: mutool interprets the next page while it renders the last, on a second thread.
        rm -rf "$work/mu"
        mkdir -p "$work/mu"
        t0=$EPOCHREALTIME
        mutool draw -q -P -r 144 -o "$work/mu/p%04d.png" "$pdf" 2>/dev/null
        mup+=("$(elapsed "$t0" "$EPOCHREALTIME")")

        if [ -n "$other" ]; then
            t0=$EPOCHREALTIME
            program_in "$other" "$work/tmp" --convert "$work/rev/p.png" --dpi 144 "${defaults[@]}" "${extra[@]}" "$pdf" \
                2>/dev/null || problem "$name: revision $against failed"
            rev+=("$(elapsed "$t0" "$EPOCHREALTIME")")
        fi
    done
    local msf mmu
    msf=$(median "${sf[@]}")
    mmu=$(median "${mu[@]}")
    echo "$name, $pages pages at the defaults (144 dpi, 16 colours, antialiased, png)${extra[*]:+ with ${extra[*]}}," \
        "median of $runs runs:"
    printf '  %-22s %8s %8s %12s %10s\n' tool seconds "pages/s" "bytes" "vs mutool"
    row() { # label, seconds, folder
        printf '  %-22s %8.2f %8.2f %12d %10.2f\n' "$1" "$2" "$(awk -v p="$pages" -v t="$2" 'BEGIN { print p / t }')" \
            "$(du -sb "$3" | cut -f1)" "$(awk -v a="$mmu" -v b="$2" 'BEGIN { print a / b }')"
    }
    row sheetforge "$msf" "$work/sf"
    [ -z "$other" ] || row "sheetforge $against" "$(median "${rev[@]}")" "$work/rev"
    row "mutool draw, 1 thread" "$mmu" "$work/mu"
    row "mutool draw -P" "$(median "${mup[@]}")" "$work/mu"
    echo "  (vs mutool: pages/s as a share of mutool's on one thread; sheetforge against -P: $(awk \
        -v a="$(median "${mup[@]}")" -v b="$msf" 'BEGIN { printf "%.2f", a / b }'))"
    echo "where sheetforge's time went (rendering is Ghostscript's CPU time; the rest is the workers' time):"
    printf '  %s\n' "${timing[@]}"
    [ -n "$other" ] || return 0

    # Each page: the same colour count, and where the colours did not change, the same pixels.
    local f g same=0 differ=0 colours=0
    for f in "$work/sf"/*.png; do
        g="$work/rev/$(basename "$f")"
        if [ ! -f "$g" ]; then
            problem "$name: $(basename "$f") missing from revision $against"
            continue
        fi
        [ "$(identify -format %k "$f")" = "$(identify -format %k "$g")" ] || colours=$((colours + 1))
        if [ "$(compare -metric AE "$f" "$g" null: 2>&1)" = 0 ]; then
            same=$((same + 1))
        else
            differ=$((differ + 1))
        fi
    done
    echo "against $against: $same pages decode to the same pixels, $differ differ; $colours differ in colour count"
    echo "  output size: $(awk -v a="$(du -sb "$work/sf" | cut -f1)" -v b="$(du -sb "$work/rev" | cut -f1)" \
        'BEGIN { printf "%.1f%% of %s", 100 * a / b, "'"$against"'" }')"
}

# The workers' busy seconds of each document's timing line, summed; its lines on standard input.
busy_seconds() {
    sed -n 's/^.*sheetforge.timing: //p' | awk '{
        wall = $4
        sub(/^.*workers busy /, "")
        for (i = 1; i <= NF; i++) { v = $i; sub(/%/, "", v); sum += wall * v / 100 }
    } END { printf "%.3f", sum }'
}

batch() {
    local documents=() i program label t0 wall busy cpu
    make_document 1 "$work/one.pdf"
    mkdir -p "$work/batch"
    for ((i = 1; i <= 20; i++)); do
        cp "$work/one.pdf" "$work/batch/doc$i.pdf"
        documents+=("$work/batch/doc$i.pdf")
    done
    local programs=("$sheetforge") labels=(sheetforge)
    if [ -n "$against" ]; then
        programs+=("$(build_revision "$against")")
        labels+=("sheetforge $against")
    fi
    echo "20 one-page A4 documents in one run at the defaults, median of $runs runs:"
    printf '  %-22s %8s %14s %12s
' program seconds "workers busy" "cores busy"
    for i in "${!programs[@]}"; do
        program=${programs[$i]}
        label=${labels[$i]}
        local walls=() busies=() cpus=()
        for ((run = 1; run <= runs; run++)); do
            rm -rf "$work/batch-out" "$work/tmp"
            mkdir -p "$work/batch-out" "$work/tmp"
            t0=$EPOCHREALTIME
            # The CPU of the program and of its Ghostscripts, as the shell's times tell it.
            cpu=$( { TIMEFORMAT='%U %S'; time QT_LOGGING_RULES="sheetforge.timing.info=true" program_in "$program"                 "$work/tmp" --convert "$work/batch-out/" "${defaults[@]}" --dpi 144 "${documents[@]}"                 2>"$work/batch.err" >/dev/null; } 2>&1 | tail -n 1) ||
                problem "batch: $label failed: $(tail -n 3 "$work/batch.err" | tr '
' ' ')"
            wall=$(elapsed "$t0" "$EPOCHREALTIME")
            walls+=("$wall")
            busies+=("$(busy_seconds <"$work/batch.err" | awk -v w="$wall" '{ printf "%.3f", $1 / (2 * w) }')")
            cpus+=("$(echo "$cpu" | awk -v w="$wall" '{ printf "%.3f", ($1 + $2) / (2 * w) }')")
            [ "$(find "$work/batch-out" -name '*.png' | wc -l)" -eq 20 ] || problem "batch: $label wrote no 20 files"
        done
        printf '  %-22s %8.2f %13.0f%% %11.0f%%
' "$label" "$(median "${walls[@]}")" \
            "$(awk -v b="$(median "${busies[@]}")" 'BEGIN { print 100 * b }')" \
            "$(awk -v c="$(median "${cpus[@]}")" 'BEGIN { print 100 * c }')"
    done
    echo "  (workers busy: their busy time as a share of both workers over the run; cores busy: the CPU time of"
    echo "  sheetforge and its Ghostscripts as a share of both cores)"
}

if revision=$(git -C "$bench_root" rev-parse --short HEAD 2>/dev/null); then
    git -C "$bench_root" diff --quiet HEAD -- src || revision+=" with changes in src"
else
    revision="(not a git checkout)"
fi
# Other work on the machine skews the ratios less than the absolute times, but it still shows here.
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg); gs $(gs --version);" \
    "$(pdftoppm -v 2>&1 | head -n 1 || true); sheetforge $revision"
case "$mode" in
large)
    make_document 1 "$work/a4-1.pdf"
    large_page "$work/a4-1.pdf"
    echo
    cancel_in_library "$work/a4-1.pdf"
    ;;
resolutions)
    make_document 1 "$work/a4-1.pdf"
    resolutions "$work/a4-1.pdf"
    ;;
batch)
    batch
    ;;
stages)
    command -v mutool >/dev/null || { echo "mutool is missing (Debian package mupdf-tools)" >&2; exit 1; }
    if [ ${#files[@]} -eq 0 ]; then
        if [ -r /usr/share/doc/gnucobol3/gnucobol.pdf.gz ]; then
            zcat /usr/share/doc/gnucobol3/gnucobol.pdf.gz >"$work/gnucobol.pdf"
        else
            make_document 93 "$work/gnucobol.pdf"
        fi
        files=("$work/gnucobol.pdf")
    fi
    for f in "${files[@]}"; do stages "$f"; done
    ;;
default)
    pdftoppm=$(command -v pdftoppm || true)
    [ -n "$pdftoppm" ] || echo "pdftoppm is missing (Debian package poppler-utils): its column stays empty"
    make_document 30 "$work/a4-30.pdf"
    if [ ${#files[@]} -eq 0 ]; then
        for f in /usr/share/doc/libtasn1-doc/libtasn1.pdf /usr/share/doc/shared-mime-info/*.pdf; do
            [ -r "$f" ] && files+=("$f")
        done
    fi
    echo
    echo "all pages at 144 dpi, antialiased; sheetforge also makes 16 colours without dither, png (median of $runs runs)"
    printf '%-30s %5s %10s %10s %10s %11s %6s %10s %8s\n' document pages "sf p/s" "pdftoppm" "gs p/s" \
        "sf/pdftoppm" "sf/gs" "images" "sizes"
    for f in "$work/a4-30.pdf" "${files[@]}"; do all_pages "$f"; done
    echo "(images: files written by sheetforge/pdftoppm/gs; sizes: sheetforge's pixel sizes against gs's)"
    echo
    "$bench_preview" --runs 5 change "$work/a4-30.pdf"
    echo
    cancel_latency "$work/a4-30.pdf"
    ;;
esac
echo
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
report_problems
[ ${#problems[@]} -eq 0 ]
