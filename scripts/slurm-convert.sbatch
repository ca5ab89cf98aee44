#!/usr/bin/env bash
# A Slurm array job: one task per line of a batch list (as scripts/batch-convert.sh reads
# it), each converting its video on whichever node Slurm gives it. Submit from the folder
# that holds the list, with as many tasks as the list has lines, at most 8 at a time:
#
#   sbatch --array=1-$(wc -l <jobs.txt)%8 scripts/slurm-convert.sbatch jobs.txt out \
#       --format avi --video-encoder divx
#
# Each task writes out/NAME.avi and out/NAME.json; Slurm keeps each task's exit status
# (sacct -j JOBID) and its log in slurm-JOBID_TASK.out. quillet-convert must be installed
# on the nodes (or named by QUILLET_CONVERT), and the files reachable from them.
#SBATCH --job-name=quillet-convert
#SBATCH --cpus-per-task=2
#SBATCH --mem=2G
set -euo pipefail
list=$1 outdir=$2
shift 2
mkdir -p "$outdir"
IFS=$'\t' read -r video companion < <(sed -n "${SLURM_ARRAY_TASK_ID}p" "$list")
exec "$SLURM_SUBMIT_DIR/scripts/batch-convert.sh" --job "$outdir" avi "$video" "${companion:-}" "$@"
