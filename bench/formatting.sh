#!/usr/bin/env bash
# What re-formatting costs: converts a folder tree to DOCX and to PDF with the default Kelva.ini
# (default formatting, page numbers and clean-ups) and with one whose formatting flags are all
# off, in both orders, with the default pool of offices. Prints the wall times, the ratio, and
# from the offices' stage times the time per document spent formatting and counting spelling
# errors. Not part of the tests.
#
# Usage: bench/formatting.sh [folder]   (default ../shared/corpus)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
input="$(cd "${1:-$root/../shared/corpus}" && pwd)"
batch="$root/build/kelvara-batch"
[ -x "$batch" ] || bash "$root/scripts/build.sh"

work="$(mktemp -d /tmp/kelvara-bench-format-XXXXXX)"
trap 'rm -rf "$work"' EXIT
count=$(find "$input" -type f ! -name '*.tsv' | wc -l)
echo "Documents: $count in $input"

mkdir -p "$work/default" "$work/off"
# Every enable flag that is on by default, and the three document clean-ups, switched off.
{
  printf '[Options]\nRemoveEmptySections=0\nRemoveCRAtEndOfSections=0\nAddPagesNumbers=0\n'
  for set in Portrait Landscape; do
    printf '[Page Flags Setup %s]\n' "$set"
    for key in TopMargin BottomMargin LeftMargin RightMargin FooterDistance HeaderDistance \
      VerticalAlignment; do
      printf '%s=0\n' "$key"
    done
  done
  printf '[Paragraph Flags Setup]\nLeftIndent=0\nRightIndent=0\n'
} > "$work/off/Kelva.ini"

now() { date +%s.%N; }
# run <name> <config: default|off> <format position>
run() {
  local name="$1" config="$2" position="$3" start end
  rm -rf "$work/out"
  start=$(now)
  KELVARA_CONFIG_DIR="$work/$config" XDG_STATE_HOME="$work/state" \
    KELVARA_STAGE_TIMES="$work/stages-$name.tsv" \
    "$batch" /i: "$input/" /o: "$work/out/" /if: 0 /of: "$position" \
    > "$work/$name.out" 2> "$work/$name.err" || true
  end=$(now)
  eval "wall_$name=$(echo "$end - $start" | bc)"
  eval "converted_$name=$(grep -oE 'converted: [0-9]+' "$work/$name.out" | grep -oE '[0-9]+' || echo 0)"
}

for target in docx:0 pdf:6; do
  ext="${target%%:*}" position="${target##*:}"
  run "${ext}_default_1" default "$position"
  run "${ext}_off_1" off "$position"
  run "${ext}_off_2" off "$position"
  run "${ext}_default_2" default "$position"
done

# Mean milliseconds per document of one stage-times column (8 format, 9 spelling).
per_doc() { awk -F'\t' -v c="$2" '{ s += $c; n++ } END { printf "%.1f", n ? s / n : 0 }' "$1"; }

printf '\n%-8s %-9s %9s %9s %9s %14s %14s\n' "target" "Kelva.ini" "converted" "wall s" \
  "docs/s" "format ms/doc" "spelling ms/doc"
for ext in docx pdf; do
  for config in default off; do
    for n in 1 2; do
      name="${ext}_${config}_$n"
      wall=$(eval "echo \$wall_$name")
      printf '%-8s %-9s %9s %9.1f %9.1f %14s %14s\n' "$ext" "$config" \
        "$(eval "echo \$converted_$name")" "$wall" "$(echo "$count / $wall" | bc -l)" \
        "$(per_doc "$work/stages-$name.tsv" 8)" "$(per_doc "$work/stages-$name.tsv" 9)"
    done
  done
  on=$(eval "echo \"(\$wall_${ext}_default_1 + \$wall_${ext}_default_2) / 2\"" | bc -l)
  off=$(eval "echo \"(\$wall_${ext}_off_1 + \$wall_${ext}_off_2) / 2\"" | bc -l)
  printf '%s: default formatting / formatting off: %.2f\n' "$ext" "$(echo "$on / $off" | bc -l)"
done
