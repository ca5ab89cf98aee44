#!/usr/bin/env bash
# Converts a batch of videos with quillet-convert through GNU parallel, N at a time, with a
# job log and one report per job gathered into one list.
#
#   scripts/batch-convert.sh [-j N] [-e EXT] LIST OUTDIR [quillet-convert options...]
#
# LIST holds one job a line: the video, then a tab and either its synchronization list
# (*.ini: its points, --calculate) or another recording of the same scene (the separate
# sound, its points found with --auto-points); a video alone has its points found from its
# own claps and flashes. Each video is written to OUTDIR/NAME.EXT (EXT: avi unless given)
# with its report OUTDIR/NAME.json; OUTDIR/joblog is GNU parallel's job log (one line a job
# with its exit status: 0 written, 1 failed, 130 stopped) and OUTDIR/reports.json the reports
# as one JSON array, in the order of LIST. The options after OUTDIR go to every conversion.
# The exit status is GNU parallel's: the number of jobs that failed.
#
# quillet-convert is $QUILLET_CONVERT, else the one on the PATH, else this tree's build.
set -euo pipefail

# One job, as GNU parallel starts it: OUTDIR EXT VIDEO COMPANION [options...].
if [ "${1:-}" = "--job" ]; then
  shift
  outdir=$1 ext=$2 video=$3 companion=$4
  shift 4
  name=$(basename "${video%.*}")
  case "$companion" in
  "") points=(--auto-points) ;;
  *.ini | *.INI) points=(--sync-list "$companion" --calculate) ;;
  *) points=(--separate-sound "$companion" --auto-points) ;;
  esac
  exec "${QUILLET_CONVERT:-quillet-convert}" "$video" "${points[@]}" "$@" \
    --report "$outdir/$name.json" \
    -o "$outdir/$name.$ext"
fi

jobs=$(nproc)
ext=avi
while getopts "j:e:" option; do
  case $option in
  j) jobs=$OPTARG ;;
  e) ext=$OPTARG ;;
  *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -lt 2 ]; then
  echo "usage: $0 [-j N] [-e EXT] LIST OUTDIR [quillet-convert options...]" >&2
  exit 2
fi
list=$1 outdir=$2
shift 2
if [ -z "${QUILLET_CONVERT:-}" ]; then
  QUILLET_CONVERT=$(command -v quillet-convert ||
    echo "$(cd "$(dirname "$0")/.." && pwd)/build/bin/quillet-convert")
fi
export QUILLET_CONVERT

# Two videos of one name (from two folders) would write over each other's output.
declare -A seen=()
while IFS=$'\t' read -r video _ || [ -n "$video" ]; do
  [ -n "$video" ] || continue
  name=$(basename "${video%.*}")
  if [ -n "${seen[$name]:-}" ]; then
    echo "$video and ${seen[$name]} would both be written to $outdir/$name.$ext;" \
      "rename one or convert their folders apart. Nothing was converted." >&2
    exit 2
  fi
  seen[$name]=$video
done <"$list"
mkdir -p "$outdir"

status=0
parallel --will-cite -q --colsep '\t' -j "$jobs" --joblog "$outdir/joblog" --arg-file "$list" \
  "$0" --job "$outdir" "$ext" {1} {2} "$@" || status=$?

# The reports, one line each, joined into a list in the order of the jobs.
{
  printf '['
  separator=''
  while IFS=$'\t' read -r video _ || [ -n "$video" ]; do
    [ -n "$video" ] || continue
    report="$outdir/$(basename "${video%.*}").json"
    [ -f "$report" ] || continue
    printf '%s' "$separator"
    tr -d '\n' <"$report"
    separator=','
  done <"$list"
  echo ']'
} >"$outdir/reports.json"
exit "$status"
