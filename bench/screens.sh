#!/bin/sh
# The cost of screens in complete mode, on a generated project of about 200 forms of about 25
# controls each; see docs/benchmarks.md.
#   bench/screens.sh [BUILD_DIR]      (default: build-bench)
# Times in ONE hyperfine run the complete JSON and the complete workbook, each with and without
# screens, and the pictures alone (--screens-dir), and prints the cost per screen.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root" && mkdir -p "${1:-build-bench}" && cd "${1:-build-bench}" && pwd)
out="$root/bench/out"
mkdir -p "$out"

cmake -S "$root" -B "$build" -DDOVREK_BENCH=ON -DDOVREK_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target dovrek dovrek_template generate_project >/dev/null
dovrek="$build/dovrek"

rm -rf "$out/screens"
"$build/bench/generate_project" --seed 7 --lines 200000 --files 660 "$out/screens"
cd "$out/screens"
forms=$(ls ./*.frm | wc -l)
echo "== $forms forms, $(grep -c '^ *Begin ' ./*.frm | awk -F: '{ s += $2 } END { print s }') Begin blocks"
mkdir -p pictures

hyperfine -N --warmup 1 --runs 10 --export-json "$out/screens.json" \
  -n "complete JSON, no screens" "$dovrek -q --complete --no-screens --json /dev/null Synthetic.vbp" \
  -n "complete JSON, screens" "$dovrek -q --complete --json /dev/null Synthetic.vbp" \
  -n "complete workbook, no screens" "$dovrek -q --complete --no-screens --workbook /tmp/dovrek-screens.xlsx Synthetic.vbp" \
  -n "complete workbook, screens" "$dovrek -q --complete --workbook /tmp/dovrek-screens.xlsx Synthetic.vbp" \
  -n "complete JSON + --screens-dir" "$dovrek -q --complete --json /dev/null --screens-dir pictures Synthetic.vbp"
echo "== medians and the cost per screen"
jq -r '.results[] | "\(.command)\t\(.median)"' "$out/screens.json" | awk -F'\t' -v forms="$forms" '
  { name[NR] = $1; t[NR] = $2 }
  END {
    for (i = 1; i <= NR; ++i) printf "%-32s %8.1f ms\n", name[i], 1000 * t[i]
    printf "workbook: %.2f ms a screen; pictures alone: %.2f ms a screen\n",
      1000 * (t[4] - t[3]) / forms, 1000 * (t[5] - t[2]) / forms
  }' | tee "$out/screens-medians.txt"
/usr/bin/time -f "%M KB peak  complete workbook with screens" \
  "$dovrek" -q --complete --workbook /tmp/dovrek-screens.xlsx Synthetic.vbp
rm -f /tmp/dovrek-screens.xlsx
