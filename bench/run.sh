#!/bin/sh
# End-to-end timing of dovrek on generated projects; see docs/benchmarks.md.
#   bench/run.sh [BUILD_DIR]      (default: build-bench)
# Builds dovrek and the bench tools (Release, no window) in BUILD_DIR, generates a project of
# 1,000,000 source lines and one of 50,000 procedures under bench/out/, then times in one
# hyperfine run `dovrek -q --json /dev/null` against cat of the same files (the I/O floor) and
# universal-ctags, and afterwards the text report and the workbook.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root" && mkdir -p "${1:-build-bench}" && cd "${1:-build-bench}" && pwd)
out="$root/bench/out"

cmake -S "$root" -B "$build" -DDOVREK_BENCH=ON -DDOVREK_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target dovrek dovrek_template generate_project scan_project >/dev/null
dovrek="$build/dovrek"

echo "== generating"
rm -rf "$out/p1m" "$out/p50k"
"$build/bench/generate_project" --seed 1 --lines 1000000 "$out/p1m"
"$build/bench/generate_project" --seed 2 --procedures 50000 "$out/p50k"

# Relative names keep the command lines free of blanks for hyperfine -N.
cd "$out/p1m"
members=$(ls ./*.frm ./*.bas ./*.cls | tr '\n' ' ')
echo "== $(echo $members | wc -w) member files, $(cat $members | wc -l) lines, $(du -sh . | cut -f1)"

echo "== reading alone, in process (scan_project)"
"$build/bench/scan_project" Synthetic.vbp

echo "== dovrek --json against cat and ctags"
# -N runs each command without a shell; hyperfine sends standard output to /dev/null.
hyperfine -N --warmup 2 --export-markdown "$out/compare.md" \
  -n "dovrek -q --json /dev/null" "$dovrek -q --json /dev/null Synthetic.vbp" \
  -n "cat (all member files)" "cat $members" \
  -n "ctags" "ctags --languages=Basic --langmap=Basic:+.cls.frm --kinds-Basic=f -R -f /dev/null ."

echo "== reports"
hyperfine -N --warmup 1 --runs 5 --export-markdown "$out/reports.md" \
  -n "text report, 1M lines" "$dovrek -q --text /tmp/dovrek-bench.txt Synthetic.vbp" \
  -n "workbook, 1M lines" "$dovrek -q --workbook /tmp/dovrek-bench.xlsx Synthetic.vbp" \
  -n "workbook, 50,000 procedures" "$dovrek -q --workbook /tmp/dovrek-bench-50k.xlsx ../p50k/Synthetic.vbp"

echo "== peak memory"
for args in "--json /dev/null Synthetic.vbp" "--text /tmp/dovrek-bench.txt Synthetic.vbp" \
            "--workbook /tmp/dovrek-bench-50k.xlsx ../p50k/Synthetic.vbp"; do
  /usr/bin/time -f "%M KB  dovrek -q $args" "$dovrek" -q $args
done
rm -f /tmp/dovrek-bench.txt /tmp/dovrek-bench.xlsx /tmp/dovrek-bench-50k.xlsx
