#!/usr/bin/env bash
# Times the filter graph against the ffmpeg command on two generated clips: a 1920x1080 H.264
# clip with a key frame every 2 seconds and a 640x480 MPEG-4 clip. For each: the graph's open
# to first picture, and the median of its exact seeks to 20 random targets next to the median
# of `ffmpeg -ss T -i clip -frames:v 1 -f null -` on the same targets, with their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/bench-common.sh
bench=build/bin/graph_seek_bench
[ -x "$bench" ] || { echo "build first: ninja -C build graph_seek_bench" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=s=1920x1080:r=25:d=30 \
  -f lavfi -i sine=f=440:r=48000:d=30 -c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p \
  -c:a aac "$work/h264_1080p.mp4"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=s=640x480:r=25:d=30 \
  -f lavfi -i sine=f=440:r=48000:d=30 -c:v mpeg4 -q:v 4 -c:a libmp3lame \
  "$work/mpeg4_480p.avi"


for clip in "$work/h264_1080p.mp4" "$work/mpeg4_480p.avi"; do
  out=$("$bench" "$clip" 20 1 2>/dev/null)
  open=$(awk '/^open_to_first_frame_ms/ {print $2}' <<<"$out")
  seek=$(awk '/^exact_seek_median_ms/ {print $2}' <<<"$out")
  ffmpeg_ms=$(for t in $(awk '/^targets/ {$1=""; print}' <<<"$out"); do
    start=$(date +%s%N)
    ffmpeg -hide_banner -loglevel error -ss "$t" -i "$clip" -frames:v 1 -f null -
    echo $(( ($(date +%s%N) - start) / 1000 ))
  done | median)
  awk -v name="$(basename "$clip")" -v open="$open" -v seek="$seek" -v ff="$ffmpeg_ms" 'BEGIN {
    printf "%-18s open to first picture %7.1f ms   exact seek %7.1f ms   ffmpeg -ss %7.1f ms   ratio %.2f\n",
      name, open, seek, ff / 1000, seek / (ff / 1000) }'
done
