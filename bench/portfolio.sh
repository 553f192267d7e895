#!/bin/sh
# A whole portfolio in one command against a shell loop of single runs; see docs/benchmarks.md.
#   bench/portfolio.sh [DOVREK] [PORTFOLIO]     (defaults: build/dovrek, ../shared/corpus)
# Times in ONE hyperfine run, over every .vbp below PORTFOLIO, with the workbook, the text
# report and the JSON of every project:
# 1. one command over the whole folder (projects side by side, one per core);
# 2. the same projects one dovrek run each, in a shell loop;
# then the peak memory of the one command, and that of the largest single run.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
dovrek=$(cd "$(dirname "${1:-$root/build/dovrek}")" && pwd)/$(basename "${1:-$root/build/dovrek}")
portfolio=$(cd "${2:-$root/../shared/corpus}" && pwd)
out="$root/bench/out/portfolio"
mkdir -p "$out"
projects="$out/projects.txt"
find "$portfolio" -iname '*.vbp' | sort > "$projects"
echo "== $(wc -l < "$projects") projects below $portfolio"

# One single run a project, numbered outputs so that no two collide.
cat > "$out/loop.sh" <<LOOP
#!/bin/sh
n=0
while IFS= read -r p; do
  n=\$((n + 1))
  "$dovrek" -q --skip-missing -x "$out/loop/\$n.xlsx" -t "$out/loop/\$n.txt" \\
    -j "$out/loop/\$n.json" "\$p" 2>/dev/null || true
done < "$projects"
LOOP
chmod +x "$out/loop.sh"
mkdir -p "$out/loop"

one="$dovrek -q --skip-missing --formats workbook,text,json --output-dir $out/one $portfolio"
hyperfine --warmup 1 --runs 5 -i --export-json "$out/compare.json" \
  --export-markdown "$out/compare.md" \
  -n "one command" "$one" \
  -n "shell loop of single runs" "$out/loop.sh"
jq -r '.results[] | "\(.command)\t\(.median)"' "$out/compare.json" |
  awk -F'\t' '{ name[NR] = $1; t[NR] = $2 } END {
    for (i = 1; i <= NR; ++i) printf "%-28s %8.2f s\n", name[i], t[i];
    printf "loop / one command: %.2fx\n", t[2] / t[1] }' | tee "$out/compare-medians.txt"

echo "== peak memory"
/usr/bin/time -f "%M KB  one command" $one 2>&1 >/dev/null | tail -1 | tee "$out/memory.txt"
largest=0
while IFS= read -r p; do
  kb=$( { /usr/bin/time -f "%M" "$dovrek" -q --skip-missing -x "$out/m.xlsx" -t "$out/m.txt" \
          -j "$out/m.json" "$p" 2>&1 >/dev/null || true; } | tail -1)
  [ "$kb" -gt "$largest" ] 2>/dev/null && largest=$kb && name=$p
done < "$projects"
echo "$largest KB  largest single run ($name)" | tee -a "$out/memory.txt"
rm -rf "$out/one" "$out/loop" "$out/m.xlsx" "$out/m.txt" "$out/m.json"
