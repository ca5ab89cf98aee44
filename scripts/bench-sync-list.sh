#!/usr/bin/env bash
# Times loading a synchronization list of about 10 MB: TOTAL_SYNC_POINTS=1000 and 230,000 time
# keys in descending order, so the 2,000 keys that are read sit at the end of their section.
# Prints the file's size and the median of three loads (RUNS=n for another number).
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/bin/sync_list_bench
[ -x "$bench" ] || { echo "build first: ninja -C build sync_list_bench" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list="$work/large.ini"

awk 'BEGIN {
  printf "[FILENAME]\r\nVIDEO_NAME=/videos/out.avi\r\nTOTAL_SYNC_POINTS=1000\r\n[SYNC_LIST]\r\n"
  for (i = 114999; i >= 0; --i) {
    printf "SYNC_VIDEO_TIME_%d=%.7f\r\n", i, 900000000000 + i * 0.04
    printf "SYNC_AUDIO_TIME_%d=%.7f\r\n", i, 900000000000 + i * 0.04 + 0.25
  }
}' >"$list"

out=$("$bench" "$list" "${RUNS:-3}")
awk -v runs="${RUNS:-3}" -v bytes="$(stat -c %s "$list")" '/^load_ms/ {ms = $2} /^points/ {n = $2} END {
  printf "%.1f MB list, %d points read: load %.1f ms (median of %d)\n", bytes / 1e6, n, ms, runs }' <<<"$out"
