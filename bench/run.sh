#!/bin/sh
# End-to-end timing of dovrek on generated projects; see docs/benchmarks.md.
#   bench/run.sh [BUILD_DIR]      (default: build-bench)
# Builds dovrek and the bench tools (Release, no window) in BUILD_DIR, then:
# 1. on a project of 1,000,000 lines in 2,000 files, times in ONE hyperfine run the JSON, text
#    and workbook runs of dovrek, universal-ctags listing the same functions and `wc -l` of
#    the member files, and prints the medians relative to ctags;
# 2. times dovrek (JSON, text, workbook) and ctags on projects of 100k to 2M lines, writes the
#    medians to bench/out/sizes.csv and draws them as docs/benchmark-sizes.svg.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root" && mkdir -p "${1:-build-bench}" && cd "${1:-build-bench}" && pwd)
out="$root/bench/out"
mkdir -p "$out"

cmake -S "$root" -B "$build" -DDOVREK_BENCH=ON -DDOVREK_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target dovrek dovrek_template generate_project scan_project >/dev/null
dovrek="$build/dovrek"
ctags="ctags --languages=Basic --langmap=Basic:+.cls.frm --kinds-Basic=f -R -f /dev/null ."

# generate LINES FOLDER: a CP932 project of LINES lines in files of 500 lines on average.
generate() {
  rm -rf "$2"
  "$build/bench/generate_project" --seed 1 --lines "$1" --files $(($1 / 500)) "$2"
}

# medians JSON: "name<TAB>median seconds" for every command of a hyperfine JSON export.
medians() {
  jq -r '.results[] | "\(.command)\t\(.median)"' "$1"
}

echo "== generating"
generate 1000000 "$out/p1m"
# Relative names keep the command lines free of blanks for hyperfine -N.
cd "$out/p1m"
members=$(ls ./*.frm ./*.bas ./*.cls | tr '\n' ' ')
echo "== $(echo $members | wc -w) member files, $(cat $members | wc -l) lines, $(du -sh . | cut -f1)"

echo "== reading alone, in process (scan_project)"
"$build/bench/scan_project" Synthetic.vbp

echo "== dovrek against ctags and wc -l, one hyperfine run"
# -N runs each command without a shell; hyperfine sends standard output to /dev/null.
hyperfine -N --warmup 2 --runs 15 --export-markdown "$out/compare.md" \
  --export-json "$out/compare.json" \
  -n "dovrek -q --json /dev/null" "$dovrek -q --json /dev/null Synthetic.vbp" \
  -n "dovrek -q --text FILE" "$dovrek -q --text /tmp/dovrek-bench.txt Synthetic.vbp" \
  -n "dovrek -q --workbook FILE" "$dovrek -q --workbook /tmp/dovrek-bench.xlsx Synthetic.vbp" \
  -n "ctags" "$ctags" \
  -n "wc -l (all member files)" "wc -l $members"
echo "== medians, relative to ctags"
medians "$out/compare.json" | awk -F'\t' '{ name[NR] = $1; t[NR] = $2; if ($1 == "ctags") c = $2 }
  END { for (i = 1; i <= NR; ++i) printf "%-28s %8.1f ms  %5.2fx\n", name[i], 1000 * t[i], t[i] / c }' \
  | tee "$out/compare-medians.txt"

echo "== peak memory"
for args in "--json /dev/null" "--text /tmp/dovrek-bench.txt" "--workbook /tmp/dovrek-bench.xlsx"; do
  /usr/bin/time -f "%M KB  dovrek -q $args" "$dovrek" -q $args Synthetic.vbp
done

echo "== time against project size"
echo "lines,dovrek --json,dovrek --text,dovrek --workbook,ctags" > "$out/sizes.csv"
for lines in 100000 250000 500000 1000000 2000000; do
  generate "$lines" "$out/size" >/dev/null
  cd "$out/size"
  hyperfine -N --warmup 1 --runs 5 --export-json "$out/size.json" --style none \
    -n json "$dovrek -q --json /dev/null Synthetic.vbp" \
    -n text "$dovrek -q --text /tmp/dovrek-bench.txt Synthetic.vbp" \
    -n workbook "$dovrek -q --workbook /tmp/dovrek-bench.xlsx Synthetic.vbp" \
    -n ctags "$ctags" >/dev/null
  echo "$lines,$(medians "$out/size.json" | awk -F'\t' '{ printf "%s%.1f", (NR > 1 ? "," : ""), 1000 * $2 }')" \
    | tee -a "$out/sizes.csv"
done
cd "$out" && rm -rf "$out/size"
"$root/bench/plot-sizes.sh" "$out/sizes.csv" > "$root/docs/benchmark-sizes.svg"
echo "== wrote $out/sizes.csv and docs/benchmark-sizes.svg"
rm -f /tmp/dovrek-bench.txt /tmp/dovrek-bench.xlsx
