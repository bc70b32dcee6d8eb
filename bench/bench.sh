#!/usr/bin/env bash
# Converts a folder tree with kelvara-batch and, over the same files, with
# `soffice --headless --convert-to`, and prints documents per second, wall time, the office's
# peak memory and the ratio of the two wall times. Not part of the tests.
#
# Usage: bench/bench.sh [folder] [format-position] [soffice-extension]
#   folder             default ../shared/corpus
#   format-position    /of: position for kelvara-batch, default 6 (PDF)
#   soffice-extension  the --convert-to target, default pdf
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
input="$(cd "${1:-$root/../shared/corpus}" && pwd)"
position="${2:-6}"
ext="${3:-pdf}"
batch="$root/build/kelvara-batch"
[ -x "$batch" ] || bash "$root/scripts/build.sh"

work="$(mktemp -d /tmp/kelvara-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT
mapfile -d '' files < <(find "$input" -type f ! -name '*.tsv' -print0 | sort -z)
echo "Documents: ${#files[@]} in $input"

# Samples the resident memory of the office processes whose command line carries $1 until the
# file $2 appears; writes the peak in kB to $3.
sample_peak() {
  local tag="$1" stop="$2" result="$3" peak=0 pid rss
  while [ ! -e "$stop" ]; do
    for pid in $(pgrep -f -- "$tag" 2>/dev/null); do
      rss=$(awk '/^VmRSS:/{print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
      [ -n "$rss" ] && [ "$rss" -gt "$peak" ] && peak=$rss
    done
    sleep 0.2
  done
  echo "$peak" > "$result"
}

now() { date +%s.%N; }

# kelvara-batch, with a Kelva.ini of its own (defaults; subfolders on).
export KELVARA_CONFIG_DIR="$work/config" XDG_STATE_HOME="$work/state"
mkdir -p "$KELVARA_CONFIG_DIR"
sample_peak "$work/state/kelvara" "$work/k.done" "$work/k.peak" &
start=$(now)
"$batch" /i: "$input/" /o: "$work/kelvara/" /if: 0 /of: "$position" > "$work/k.out" 2> "$work/k.err" || true
end=$(now)
touch "$work/k.done"; wait
k_wall=$(echo "$end - $start" | bc)
k_peak=$(cat "$work/k.peak")
grep -E '^Files analized' "$work/k.out" || tail -5 "$work/k.err"

# soffice --convert-to over the same files with a profile of its own. It has been seen to stop
# silently part way through a long list, so the files it left out get a second invocation.
profile="file://$work/soffice-profile"
sample_peak "soffice-profile" "$work/s.done" "$work/s.peak" &
start=$(now)
soffice -env:UserInstallation="$profile" --headless --convert-to "$ext" --outdir "$work/soffice" \
  "${files[@]}" > "$work/s.out" 2>&1 || true
missing=()
for f in "${files[@]}"; do
  b="$(basename "$f")"
  [ -e "$work/soffice/${b%.*}.$ext" ] || missing+=("$f")
done
invocations=1
if [ ${#missing[@]} -gt 0 ] && [ ${#missing[@]} -lt ${#files[@]} ]; then
  soffice -env:UserInstallation="$profile" --headless --convert-to "$ext" \
    --outdir "$work/soffice" "${missing[@]}" >> "$work/s.out" 2>&1 || true
  invocations=2
fi
end=$(now)
touch "$work/s.done"; wait
s_wall=$(echo "$end - $start" | bc)
s_peak=$(cat "$work/s.peak")
s_count=$(find "$work/soffice" -type f 2>/dev/null | wc -l)

printf '%-26s %10s %10s %12s %14s\n' "" "documents" "wall s" "docs/s" "office peak MB"
printf '%-26s %10d %10.1f %12.1f %14.0f\n' "kelvara-batch" "${#files[@]}" "$k_wall" \
  "$(echo "${#files[@]} / $k_wall" | bc -l)" "$(echo "$k_peak / 1024" | bc -l)"
printf '%-26s %10d %10.1f %12.1f %14.0f\n' "soffice --convert-to (x$invocations)" "$s_count" \
  "$s_wall" "$(echo "${#files[@]} / $s_wall" | bc -l)" "$(echo "$s_peak / 1024" | bc -l)"
printf 'ratio kelvara/soffice wall time: %.2f\n' "$(echo "$k_wall / $s_wall" | bc -l)"
