#!/usr/bin/env bash
# Times the render engine composing a 60 s 1280x720 H.264/AAC clip corrected at three points
# (picture and sound decoded and composed, not encoded) against `ffmpeg -i clip -f null -`
# decoding the same clip, in the same run. Prints both (median of three runs) and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/bin/render_bench
[ -x "$bench" ] || { echo "build first: ninja -C build render_bench" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source scripts/bench-common.sh
clip=$(bench_clip "$work")

ffmpeg_ms=$(for _ in 1 2 3; do
  start=$(date +%s%N)
  ffmpeg -hide_banner -loglevel error -i "$clip" -f null -
  echo $(( ($(date +%s%N) - start) / 1000000 ))
done | median)
engine_ms=$(for _ in 1 2 3; do
  "$bench" "$clip" 1280 720 25 60 2>/dev/null | awk '/^composed_ms/ {print $2}'
done | median)
awk -v e="$engine_ms" -v f="$ffmpeg_ms" 'BEGIN {
  printf "render engine %.0f ms   ffmpeg decode %.0f ms   ratio %.2f (goal at most 1.30)\n", e, f, e / f }'
