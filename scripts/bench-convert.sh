#!/usr/bin/env bash
# Times quillet-convert against the ffmpeg command doing the same job, whole process against
# whole process: a 60 s 1280x720 25 fps H.264/AAC clip whose sound runs 1 % fast and 0.1 s
# late, corrected at three points, written to AVI (MPEG-4 + Microsoft ADPCM) and to WMV
# (WMV 2 + WMA 2) at the same bit rates. ffmpeg gets the same correction as one filter chain
# (cut the sound at the calculated start and end, play it 0.99 times as fast, resample to
# 44.1 kHz, and hand it on as 16-bit samples, as the composition does: an encoder that takes
# floats, like AAC, works harder on sound that carries 16-bit rounding noise). Then the
# picture copied (no re-encoding) to MP4 with AAC sound, against ffmpeg copying the picture
# with the same sound (the limit: it cuts on packets); last, one second of the clip, for the
# start-up. Each job and its ffmpeg counterpart run in interleaved pairs (A B A B ...);
# printed are the medians of wall time, CPU time and peak memory, and the medians of their
# ratios.
#
#   scripts/bench-convert.sh [pairs]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
convert=build/bin/quillet-convert
[ -x "$convert" ] || { echo "build first: ninja -C build quillet-convert" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source scripts/bench-common.sh
clip=$(bench_clip "$work")
points=$(bench_points "$work")
video_bitrate=2000000
audio_bitrate=128000
sound="[0:a]atrim=start=0.1:end=59.5,asetpts=PTS-STARTPTS,asetrate=48000*0.99,aresample=44100,aformat=sample_fmts=s16[a]"

# Runs quillet-convert (the array named $3) and ffmpeg (the array named $4) one after the
# other, $pairs times, and prints the medians of each and of their ratios.
compare() { # name, goal, quillet command, ffmpeg command
  local -n quillet=$3 reference=$4
  : >"$work/pairs"
  for _ in $(seq "$pairs"); do
    echo "$(measure "${quillet[@]}") $(measure "${reference[@]}")" >>"$work/pairs"
  done
  local column
  for column in 1 2 3 4 5 6; do
    awk -v c="$column" '{ print $c }' "$work/pairs" | median
  done | tr '\n' ' ' >"$work/medians"
  local wall cpu memory
  wall=$(awk '{ print $1 / $4 }' "$work/pairs" | median)
  cpu=$(awk '{ print $2 / $5 }' "$work/pairs" | median)
  memory=$(awk '{ print $3 / $6 }' "$work/pairs" | median)
  read -r qw qc qm fw fc fm <<<"$(cat "$work/medians")"
  awk -v n="$1" -v g="$2" -v qw="$qw" -v qc="$qc" -v qm="$qm" -v fw="$fw" -v fc="$fc" \
      -v fm="$fm" -v w="$wall" -v c="$cpu" -v m="$memory" 'BEGIN {
    printf "%-20s quillet %5.2f s %5.2f s CPU %4.0f MiB   ffmpeg %5.2f s %5.2f s CPU %4.0f MiB   " \
           "wall x%.2f (goal <= %s)  CPU x%.2f  memory x%.2f (goal <= 1.2)\n",
           n, qw, qc, qm / 1024, fw, fc, fm / 1024, w, g, c, m }'
}

pairs=${1:-3}
echo "$pairs interleaved pairs per job, medians; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# The program's stored settings stay out of the measurement.
export XDG_CONFIG_HOME="$work/config"
common=("$convert" "$clip" --sync-list "$points" --calculate --size 1280x720 --frame-rate 25
        --video-bitrate "$video_bitrate" --audio-bitrate "$audio_bitrate" --overwrite)
chain=(ffmpeg -hide_banner -loglevel error -y -i "$clip" -filter_complex "$sound" -map 0:v
       -map "[a]")

q=("${common[@]}" --format avi --video-encoder divx --audio-encoder "microsoft adpcm"
   -o "$work/q.avi")
f=("${chain[@]}" -r 25 -c:v mpeg4 -b:v "$video_bitrate" -c:a adpcm_ms -ac 2 "$work/f.avi")
compare "AVI MPEG-4 + ADPCM" 0.9 q f

q=("${common[@]}" --format wmv -o "$work/q.wmv")
f=("${chain[@]}" -r 25 -c:v wmv2 -b:v "$video_bitrate" -c:a wmav2 -b:a "$audio_bitrate" -ac 2
   "$work/f.wmv")
compare "WMV 2 + WMA 2" 0.9 q f

q=("${common[@]}" --muxer "mp4 mux" --video-encoder copy
   --audio-encoder "(advanced audio coding)" -o "$work/q.mp4")
f=("${chain[@]}" -c:v copy -c:a aac -b:a "$audio_bitrate" "$work/f.mp4")
compare "MP4 picture copied" 1.0 q f

# Start-up: the clip's first second, whole, to AVI, from the command to the file written.
ffmpeg -hide_banner -loglevel error -y -i "$clip" -t 1 -c copy "$work/second.mp4"
q=("$convert" "$work/second.mp4" --size 1280x720 --frame-rate 25
   --video-bitrate "$video_bitrate" --overwrite --format avi --video-encoder divx
   --audio-encoder "microsoft adpcm" -o "$work/s.avi")
f=(ffmpeg -hide_banner -loglevel error -y -i "$work/second.mp4" -r 25 -c:v mpeg4
   -b:v "$video_bitrate" -af aresample=44100 -c:a adpcm_ms -ac 2 "$work/s_f.avi")
compare "1 s span (start-up)" - q f

echo "machine: $(nproc) cores, load after: $(cut -d' ' -f1-3 /proc/loadavg)"
