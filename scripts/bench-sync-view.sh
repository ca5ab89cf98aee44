#!/usr/bin/env bash
# The sync view on a 2-hour file. First its sound alone, an AAC stereo sound (48 kHz,
# 128 kb/s: speech-like bursts of noise with a clap every 30 s): the waveform pyramid and the
# onsets from one decoding pass (median of RUNS runs, 3 unless given) and the pyramid's
# memory; goals: ready in at most 10 s, at most 64 MB. Then the view itself on a video of that
# sound (160x90 at 5 frames a second): its repaint 1920 pixels wide at zooms from the whole
# file to single samples (median of 21, scrolling); goal: at most 8 ms at any zoom.
# The files are made once (a few minutes) and kept in $QUILLET_BENCH_DIR (default /tmp).
# Builds the benchmark programs first (one job: the machine is shared).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target peaks_bench sync_view_bench -j1 >/dev/null
dir="${QUILLET_BENCH_DIR:-/tmp}"
sound="$dir/quillet-bench-2h.m4a"
video="$dir/quillet-bench-2h.mkv"
if [ ! -f "$sound" ]; then
  # A minute of it, made sample by sample (slow), then repeated for two hours.
  burst="val(0)*0.3*gt(sin(2*PI*3.1*t)+sin(2*PI*0.71*t),0.4)+0.9*lt(mod(t,30),0.002)"
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "anoisesrc=c=pink:r=48000:d=60:seed=7" \
    -af "aeval='$burst|$burst':c=stereo,aformat=channel_layouts=stereo" "$dir/quillet-minute.wav"
  ffmpeg -hide_banner -loglevel error -y -stream_loop 119 -i "$dir/quillet-minute.wav" \
    -c:a aac -b:a 128k "$sound.partial.m4a"
  rm -f "$dir/quillet-minute.wav"
  mv "$sound.partial.m4a" "$sound"
fi
if [ ! -f "$video" ]; then
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=s=160x90:r=5:d=7200" -i "$sound" \
    -map 0:v -map 1:a -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a copy \
    "$video.partial.mkv"
  mv "$video.partial.mkv" "$video"
fi
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/time -f "peak_rss_kb %M" build/bin/peaks_bench "$sound" "${RUNS:-3}" 2>&1
QT_QPA_PLATFORM=offscreen build/bin/sync_view_bench "$video" 2>&1
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
