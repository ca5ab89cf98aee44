#!/usr/bin/env bash
# Times the automatic search for synchronization points on 10 and 60 minutes of dual-system
# sound: a recorder's 48 kHz WAV of noise shaped like speech, and a camera's Matroska video
# (160x120 picture, 44.1 kHz uncompressed sound) of the same sound running 80 ppm slow,
# started 4.3 s late, muffled to 7 kHz and as loud again in noise. Each time covers the whole
# call: both files decoded, searched and fitted (median of RUNS runs, 3 unless given).
# Builds the benchmark program first (one job: the machine is shared). Goal: 10 minutes in at
# most 3 s on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target align_bench -j1 >/dev/null
bench=build/bin/align_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for minutes in 10 60; do
  seconds=$((minutes * 60))
  recorder="$work/recorder_$minutes.wav"
  video="$work/camera_$minutes.mkv"
  # Bursts of pink noise with gaps, like syllables and pauses between words.
  ffmpeg -hide_banner -loglevel error -y -f lavfi \
    -i "anoisesrc=c=pink:r=48000:d=$((seconds + 10)):seed=7" \
    -af "aeval='val(0)*0.4*gt(sin(2*PI*3.1*t)+sin(2*PI*0.71*t)+0.3*sin(2*PI*0.13*t),0.4)'" \
    -c:a pcm_s16le "$recorder"
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i "color=c=gray:s=160x120:r=5:d=$seconds" \
    -i "$recorder" -f lavfi -i "anoisesrc=c=white:r=44100:a=0.1:seed=3" -filter_complex \
    "[1:a]atrim=start=4.3,asetpts=PTS-STARTPTS,asetrate=48000*0.99992,aresample=44100,lowpass=f=7000[s];[s][2:a]amix=inputs=2:duration=first[a]" \
    -map 0:v -map "[a]" -t "$seconds" -c:v libx264 -preset ultrafast -pix_fmt yuv420p \
    -c:a pcm_s16le "$video"
  out=$("$bench" "$video" "$recorder" "${RUNS:-3}" || true)
  awk -v minutes="$minutes" '/^analysis_ms/ {ms = $2} /^matched/ {m = $2} /^drift_ppm/ {d = $2}
    /^points/ {p = $2} END {
    printf "%2d minutes: %.2f s (matched %d, %d points, drift %.1f ppm)\n", minutes, ms / 1000, m, p, d }' <<<"$out"
done
