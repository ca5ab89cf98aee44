#!/usr/bin/env bash
# Times the sync view's analysis of a 2-hour AAC stereo sound (48 kHz, 128 kb/s: speech-like
# bursts of noise with a clap every 30 s): the waveform pyramid and the onsets from one
# decoding pass (median of RUNS runs, 3 unless given), the pyramid's memory, and its answer
# for a view 1920 columns wide at several zooms. Goals: ready in at most 10 s, at most 64 MB.
# The sound is made once (a few minutes) and kept in $QUILLET_BENCH_DIR (default /tmp).
# Builds the benchmark program first (one job: the machine is shared).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target peaks_bench -j1 >/dev/null
sound="${QUILLET_BENCH_DIR:-/tmp}/quillet-bench-2h.m4a"
if [ ! -f "$sound" ]; then
  ffmpeg -hide_banner -loglevel error -y -f lavfi \
    -i "anoisesrc=c=pink:r=48000:d=7200:seed=7" \
    -af "aeval='val(0)*0.3*gt(sin(2*PI*3.1*t)+sin(2*PI*0.71*t),0.4)+0.9*lt(mod(t,30),0.002)|val(0)*0.3*gt(sin(2*PI*3.1*t)+sin(2*PI*0.71*t),0.4)+0.9*lt(mod(t,30),0.002)':c=stereo" \
    -c:a aac -b:a 128k "$sound.partial.m4a"
  mv "$sound.partial.m4a" "$sound"
fi
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
/usr/bin/time -f "peak_rss_kb %M" build/bin/peaks_bench "$sound" "${RUNS:-3}" 2>&1
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
