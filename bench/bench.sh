#!/usr/bin/env bash
# Converts a folder tree with kelvara-batch (one office, then a pool of two, in both orders) and,
# over the same files, with `soffice --headless --convert-to` and with unoconv (one office each),
# and prints documents per second, wall time, the peak memory of all offices together and of
# the largest one, the ratios of the wall times, and what each office of the pool spent its
# time on (stage times of the runs with two offices). Not part of the tests.
#
# Usage: bench/bench.sh [folder] [format-position] [extension]
#   folder           default ../shared/corpus
#   format-position  /of: position for kelvara-batch, default 6 (PDF)
#   extension        the --convert-to / unoconv target, default pdf
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
input="$(cd "${1:-$root/../shared/corpus}" && pwd)"
position="${2:-6}"
ext="${3:-pdf}"
batch="$root/build/kelvara-batch"
[ -x "$batch" ] || bash "$root/scripts/build.sh"
# The references: unoconv needs the system's Python with the office's bridge.
if ! dpkg-query -W -f='${Status}' unoconv python3-uno 2>/dev/null | grep -q "ok installed.*ok installed"; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -q --no-install-recommends unoconv python3-uno > /dev/null
fi

work="$(mktemp -d /tmp/kelvara-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT
mapfile -d '' files < <(find "$input" -type f ! -name '*.tsv' -print0 | sort -z)
echo "Documents: ${#files[@]} in $input, to $ext"

# Samples the resident memory of the processes whose command line carries $1 until the file $2
# appears; writes "<peak of the sum> <peak of one process>" in kB to $3.
sample_peak() {
  local tag="$1" stop="$2" result="$3" peak=0 single=0 pid rss sum
  while [ ! -e "$stop" ]; do
    sum=0
    for pid in $(pgrep -f -- "$tag" 2>/dev/null); do
      rss=$(awk '/^VmRSS:/{print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
      [ -n "$rss" ] || rss=0
      sum=$((sum + rss))
      [ "$rss" -gt "$single" ] && single=$rss
    done
    [ "$sum" -gt "$peak" ] && peak=$sum
    sleep 0.2
  done
  echo "$peak $single" > "$result"
}

now() { date +%s.%N; }
rows=()
# Runs "$@" while sampling the offices tagged $2; name $1. Appends a result row.
measure() {
  local name="$1" tag="$2" count_cmd="$3"; shift 3
  rm -f "$work/done"
  sample_peak "$tag" "$work/done" "$work/peak" &
  local start end
  start=$(now)
  "$@" > "$work/$name.out" 2> "$work/$name.err" || true
  end=$(now)
  touch "$work/done"; wait
  local wall peak single count
  wall=$(echo "$end - $start" | bc)
  read -r peak single < "$work/peak"
  count=$(eval "$count_cmd")
  rows+=("$(printf '%-28s %9s %9.1f %8.1f %12.0f %12.0f' "$name" "$count" "$wall" \
    "$(echo "${#files[@]} / $wall" | bc -l)" "$(echo "$peak / 1024" | bc -l)" \
    "$(echo "$single / 1024" | bc -l)")")
  eval "wall_${name//[^a-z0-9]/_}=$wall"
}

export KELVARA_CONFIG_DIR="$work/config" XDG_STATE_HOME="$work/state"
mkdir -p "$KELVARA_CONFIG_DIR"
# $3, when given, is the file each office appends its stage times to (KELVARA_STAGE_TIMES).
kelvara() {
  local jobs="$1" out="$2" stages="${3:-}"
  rm -rf "$out"
  env ${stages:+"KELVARA_STAGE_TIMES=$stages"} \
    "$batch" -j "$jobs" /i: "$input/" /o: "$out/" /if: 0 /of: "$position"
}
converted() { grep -oE 'converted: [0-9]+' "$work/$1.out" | grep -oE '[0-9]+' || echo 0; }

measure "j1_first" "$work/state/kelvara" "converted j1_first" kelvara 1 "$work/k1"
measure "j2_first" "$work/state/kelvara" "converted j2_first" kelvara 2 "$work/k2" \
  "$work/stages-j2_first.tsv"
measure "j2_second" "$work/state/kelvara" "converted j2_second" kelvara 2 "$work/k2" \
  "$work/stages-j2_second.tsv"
measure "j1_second" "$work/state/kelvara" "converted j1_second" kelvara 1 "$work/k1"

# soffice --convert-to over the same files with a profile of its own. It has been seen to stop
# silently part way through a long list, so the files it left out get a second invocation.
soffice_run() {
  local profile="file://$work/soffice-profile" missing=() f b
  soffice -env:UserInstallation="$profile" --headless --convert-to "$ext" --outdir "$work/soffice" \
    "${files[@]}" || true
  for f in "${files[@]}"; do
    b="$(basename "$f")"
    [ -e "$work/soffice/${b%.*}.$ext" ] || missing+=("$f")
  done
  if [ ${#missing[@]} -gt 0 ] && [ ${#missing[@]} -lt ${#files[@]} ]; then
    soffice -env:UserInstallation="$profile" --headless --convert-to "$ext" \
      --outdir "$work/soffice" "${missing[@]}" || true
  fi
}
measure "soffice" "soffice-profile" "find '$work/soffice' -type f 2>/dev/null | wc -l" soffice_run

# unoconv with a home of its own, so its office has a private profile.
unoconv_run() {
  mkdir -p "$work/unoconv"
  HOME="$work/unoconv-home" /usr/bin/python3 /usr/bin/unoconv --pipe "kelvara-bench-unoconv" \
    -f "$ext" -o "$work/unoconv/" "${files[@]}" || true
  pkill -f -- "kelvara-bench-unoconv" || true
}
# unoconv starts the office program directly, which exits once on a brand-new profile: the
# profile is made beforehand (not timed), as a user's own first start would.
mkdir -p "$work/unoconv-home"
HOME="$work/unoconv-home" soffice --headless --terminate_after_init > /dev/null 2>&1 || true
measure "unoconv" "kelvara-bench-unoconv" "find '$work/unoconv' -type f 2>/dev/null | wc -l" unoconv_run

printf '%-28s %9s %9s %8s %12s %12s\n' "" "converted" "wall s" "docs/s" "peak all MB" "peak one MB"
printf '%s\n' "${rows[@]}"
j1=$(echo "($wall_j1_first + $wall_j1_second) / 2" | bc -l)
j2=$(echo "($wall_j2_first + $wall_j2_second) / 2" | bc -l)
printf 'pool of 2 / one office:        %.2f\n' "$(echo "$j2 / $j1" | bc -l)"
printf 'one office / soffice:          %.2f\n' "$(echo "$j1 / $wall_soffice" | bc -l)"
printf 'pool of 2 / unoconv:           %.2f\n' "$(echo "$j2 / $wall_unoconv" | bc -l)"

# What each office of the pool spent its time on, from the lines the offices appended:
# instance, document, launch, open, statistics, save, close (ms). Offices in name order, then
# all of them together.
stage_summary() {
  local name="$1" file="$work/stages-$1.tsv"
  echo
  if [ ! -s "$file" ]; then
    echo "Stage times of $name: none written"
    return
  fi
  echo "Stage times of $name, ms (sum / mean per document):"
  printf '%-22s %6s %17s %17s %17s %17s %17s\n' "office" "docs" "launch" "open" "statistics" \
    "save" "close"
  awk -F'\t' '
    function row(key, o,   i) {
      printf "%d %-22s %6d", key, o, n[o]
      for (i = 3; i <= 7; i++) printf " %9.0f / %5.1f", s[o, i], s[o, i] / n[o]
      printf "\n"
    }
    { n[$1]++; n["all offices"]++
      for (i = 3; i <= 7; i++) { s[$1, i] += $i; s["all offices", i] += $i } }
    END { for (o in n) row(o == "all offices" ? 2 : 1, o) }' "$file" | sort -k1,1n -k2,2 | cut -d' ' -f2-
}
stage_summary j2_first
stage_summary j2_second
