# Sourced by the benchmark scripts: the 60 s 1280x720 25 fps H.264/AAC benchmark clip (a test
# pattern and a 440 Hz tone at 48 kHz), its synchronization list of three points on the line
# audio = 0.1 + 0.99 x video (the sound runs 1 % fast and 0.1 s late), and the measuring.

# Runs a command under /usr/bin/time; prints "<wall s> <CPU s> <peak resident KiB>". Needs the
# caller's scratch folder in $work.
measure() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>"$work/log" ||
    { cat "$work/log" >&2; exit 1; }
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Writes the clip into folder $1 and prints its path.
bench_clip() {
  local clip="$1/h264_720p.mp4"
  ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=s=1280x720:r=25:d=60 \
    -f lavfi -i sine=f=440:r=48000:d=60 -c:v libx264 -preset veryfast -g 50 -pix_fmt yuv420p \
    -c:a aac -ac 2 "$clip"
  echo "$clip"
}

# Writes the points into folder $1 and prints the list's path.
bench_points() {
  cat >"$1/points.ini" <<INI
[FILENAME]
VIDEO_NAME=$1/out
TOTAL_SYNC_POINTS=3
[SYNC_LIST]
SYNC_VIDEO_TIME_0=10.0000000
SYNC_AUDIO_TIME_0=10.0000000
SYNC_VIDEO_TIME_1=30.0000000
SYNC_AUDIO_TIME_1=29.8000000
SYNC_VIDEO_TIME_2=50.0000000
SYNC_AUDIO_TIME_2=49.6000000
INI
  echo "$1/points.ini"
}
