#!/usr/bin/env bash
# What keeping the pitch costs: quillet-convert writes the 60 s 1280x720 25 fps H.264/AAC
# benchmark clip, corrected at three points (sound 1 % fast), to AVI (MPEG-4 + Microsoft
# ADPCM) without and with --keep-pitch, whole process against whole process, in interleaved
# pairs (A B A B ...). Prints each pair, the median ratios of wall and CPU time, peak memory,
# and the stretch's own speed in times real time (the sound group composed alone by
# render_bench, with the pitch kept against resampled).
#
#   scripts/bench-keep-pitch.sh [pairs]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
convert=build/bin/quillet-convert
bench=build/bin/render_bench
for program in "$convert" "$bench"; do
  [ -x "$program" ] || { echo "build first: ninja -C build quillet-convert render_bench" >&2; exit 1; }
done
pairs=${1:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source scripts/bench-common.sh
clip=$(bench_clip "$work")
points=$(bench_points "$work")
export XDG_CONFIG_HOME="$work/config" # the stored settings stay out of the measurement
common=("$clip" --sync-list "$points" --calculate --size 1280x720 --frame-rate 25
        --video-bitrate 2000000 --audio-bitrate 128000 --overwrite --format avi
        --video-encoder divx --audio-encoder "microsoft adpcm")

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
: >"$work/pairs"
for i in $(seq "$pairs"); do
  read -r aw ac am <<<"$(measure "$convert" "${common[@]}" -o "$work/plain.avi")"
  read -r bw bc bm <<<"$(measure "$convert" "${common[@]}" --keep-pitch -o "$work/kept.avi")"
  echo "$aw $ac $am $bw $bc $bm" >>"$work/pairs"
  awk -v i="$i" -v aw="$aw" -v ac="$ac" -v am="$am" -v bw="$bw" -v bc="$bc" -v bm="$bm" 'BEGIN {
    printf "pair %d: resampled %.2f s wall %.2f s CPU %.0f MiB   pitch kept %.2f s wall %.2f s CPU %.0f MiB   x%.2f\n",
           i, aw, ac, am / 1024, bw, bc, bm / 1024, bw / aw }'
done
wall=$(awk '{ print $4 / $1 }' "$work/pairs" | median)
cpu=$(awk '{ print $5 / $2 }' "$work/pairs" | median)
memory=$(awk '{ print $6 / $3 }' "$work/pairs" | median)
printf "median ratio, pitch kept / resampled: wall x%.2f (goal <= 1.30)   CPU x%.2f   peak memory x%.2f\n" \
  "$wall" "$cpu" "$memory"

sound_ms() { "$bench" "$clip" 1280 720 25 60 "$@" 2>/dev/null | awk '/^group_1_ms/ { print $2 }'; }
: >"$work/sound"
for _ in 1 2 3; do
  echo "$(sound_ms) $(sound_ms keep-pitch)" >>"$work/sound"
done
plain=$(awk '{ print $1 }' "$work/sound" | median)
kept=$(awk '{ print $2 }' "$work/sound" | median)
awk -v p="$plain" -v k="$kept" 'BEGIN {
  printf "sound composed alone: resampled %.0f ms, pitch kept %.0f ms (x%.0f real time); the stretch alone x%.0f real time\n",
         p, k, 60000 / k, 60000 / (k - p) }'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
