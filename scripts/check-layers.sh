#!/usr/bin/env bash
# Fails when a folder of src/ includes one above it: the layers run from the bottom up as listed here.
# Inside tools/, where the files are peers, fails on a circle of includes.
set -euo pipefail
cd "$(dirname "$0")/../src"
layers=(settings tools document conversion preview cli ui)
rank() { local i; for i in "${!layers[@]}"; do [[ ${layers[$i]} == "$1" ]] && echo "$i" && return; done; echo -1; }
status=0
for from in "${layers[@]}"; do
    mine=$(rank "$from")
    while IFS=: read -r file line target; do
        theirs=$(rank "$target")
        if ((theirs < 0 || theirs > mine)); then
            echo "src/$file:$line: $from includes $target, a layer above it"
            status=1
        fi
    done < <(grep -Hn -o '#include "[a-z]*/' "$from"/*.{h,cpp} 2>/dev/null | sed -E 's#:\#include "([a-z]*)/$#:\1#')
done
# A circle inside tools/: tsort reports one.
loops=$(for file in tools/*.{h,cpp}; do
    base=$(basename "${file%.*}")
    grep -o '#include "tools/[A-Za-z]*' "$file" | sed 's#.*tools/##' | while read -r used; do
        [[ $used != "$base" ]] && echo "$base $used"
    done
done | sort -u | tsort 2>&1 >/dev/null || true)
if [[ $loops == *loop* ]]; then
    echo "a circle of includes inside tools/:"; echo "$loops"; status=1
fi
((status == 0)) && echo "layers: no folder includes one above it, no circle in tools/"
exit $status
