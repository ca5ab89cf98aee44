#!/usr/bin/env bash
# Times quillet-convert against the ffmpeg command doing the same job, whole process against
# whole process: a 60 s 1280x720 25 fps H.264/AAC clip whose sound runs 1 % fast and 0.1 s
# late, corrected at three points, written to AVI (MPEG-4 + Microsoft ADPCM) and to WMV
# (WMV 2 + WMA 2) at the same bit rates. ffmpeg gets the same correction as one filter chain
# (cut the sound at the calculated start and end, play it 0.99 times as fast, resample to
# 44.1 kHz). Prints wall time and peak memory of each, and their ratios. Last, the picture
# copied (no re-encoding) to MP4 with AAC sound, against ffmpeg copying the picture with the
# same sound (the limit: it cuts on packets) and against ffmpeg coding it again with libx264.
set -euo pipefail
cd "$(dirname "$0")/.."
convert=build/bin/quillet-convert
[ -x "$convert" ] || { echo "build first: ninja -C build quillet-convert" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source scripts/bench-clip.sh
clip=$(bench_clip "$work")
points=$(bench_points "$work")
video_bitrate=2000000
audio_bitrate=128000
sound="[0:a]atrim=start=0.1:end=59.5,asetpts=PTS-STARTPTS,asetrate=48000*0.99,aresample=44100[a]"

# Runs a command under /usr/bin/time; prints "<wall seconds> <peak resident KiB>".
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/log" ||
    { cat "$work/log" >&2; exit 1; }
  cat "$work/time"
}

report() { # name, quillet figures, ffmpeg figures
  read -r qt qm <<<"$2"
  read -r ft fm <<<"$3"
  awk -v n="$1" -v qt="$qt" -v qm="$qm" -v ft="$ft" -v fm="$fm" 'BEGIN {
    printf "%-22s quillet-convert %6.2f s %7.0f MiB   ffmpeg %6.2f s %7.0f MiB   " \
           "time x%.2f (goal <= 1.0)   memory x%.2f (goal <= 1.5)\n",
           n, qt, qm / 1024, ft, fm / 1024, qt / ft, qm / fm }'
}

# The program's stored settings stay out of the measurement.
export XDG_CONFIG_HOME="$work/config"
common=("$clip" --sync-list "$points" --calculate --size 1280x720 --frame-rate 25
        --video-bitrate "$video_bitrate" --audio-bitrate "$audio_bitrate" --overwrite)

q=$(measure "$convert" "${common[@]}" --format avi --video-encoder divx \
  --audio-encoder "microsoft adpcm" -o "$work/q.avi")
f=$(measure ffmpeg -hide_banner -loglevel error -y -i "$clip" -filter_complex "$sound" \
  -map 0:v -map "[a]" -r 25 -c:v mpeg4 -b:v "$video_bitrate" -c:a adpcm_ms -ac 2 "$work/f.avi")
report "AVI MPEG-4 + ADPCM" "$q" "$f"

q=$(measure "$convert" "${common[@]}" --format wmv -o "$work/q.wmv")
f=$(measure ffmpeg -hide_banner -loglevel error -y -i "$clip" -filter_complex "$sound" \
  -map 0:v -map "[a]" -r 25 -c:v wmv2 -b:v "$video_bitrate" -c:a wmav2 -b:a "$audio_bitrate" \
  -ac 2 "$work/f.wmv")
report "WMV 2 + WMA 2" "$q" "$f"

q=$(measure "$convert" "${common[@]}" --muxer "mp4 mux" --video-encoder copy \
  --audio-encoder "(advanced audio coding)" -o "$work/q.mp4")
f=$(measure ffmpeg -hide_banner -loglevel error -y -i "$clip" -filter_complex "$sound" \
  -map 0:v -map "[a]" -c:v copy -c:a aac -b:a "$audio_bitrate" "$work/f.mp4")
report "MP4 picture copied" "$q" "$f" | sed 's/goal <= 1.0/goal <= 1.2/'
r=$(measure ffmpeg -hide_banner -loglevel error -y -i "$clip" -filter_complex "$sound" \
  -map 0:v -map "[a]" -c:v libx264 -c:a aac -b:a "$audio_bitrate" "$work/r.mp4")
read -r qt _ <<<"$q"
read -r rt _ <<<"$r"
awk -v qt="$qt" -v rt="$rt" 'BEGIN {
  printf "%-22s ffmpeg libx264 (default preset) %6.2f s   copy / re-encode x%.2f\n",
         "MP4 picture re-coded", rt, qt / rt }'
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
