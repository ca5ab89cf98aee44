#!/usr/bin/env bash
# Runs N more conversions of the sweep (200 unless given), drawn from seeds not used before
# (from the clock), and prints the seed of every scenario that failed, then the worst figure
# of each check. The files of a failed scenario are kept in build/sweep-failures/seed_N.
# Builds first; needs what scripts/test.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-200}"
QUILLET_BUILD_TESTS=ON scripts/build.sh
first=$(( $(date +%s) % 1000000 * 1000 ))
log=$(mktemp)
QT_QPA_PLATFORM=offscreen QUILLET_SWEEP_COUNT="$count" QUILLET_SWEEP_FIRST_SEED="$first" \
  QUILLET_SWEEP_KEEP="$PWD/build/sweep-failures" build/bin/cli_sweep_test >"$log" 2>&1 || true
echo "seeds $first to $((first + count - 1))"
# The worst click per tolerance (sample-exact, whole milliseconds, kept pitch...), and the
# worst flash place and length over all.
grep -o 'sweep seed [0-9]*:.*' "$log" | awk -F'|' '
  { n++
    match($2, /click [0-9.e-]+ ms/); c = substr($2, RSTART + 6, RLENGTH - 9) + 0
    match($2, /allowed [0-9.e-]+/); a = substr($2, RSTART + 8, RLENGTH - 8)
    match($2, /within [0-9.e-]+ ms/); f = substr($2, RSTART + 7, RLENGTH - 10) + 0
    match($2, /by [0-9.e-]+ ms/); l = substr($2, RSTART + 3, RLENGTH - 6) + 0
    count[a]++
    if (c > worst[a]) { worst[a] = c; at[a] = $1 }
    if (f > worstFlash) worstFlash = f
    if (l > worstLength) worstLength = l }
  END { printf "%d scenarios measured\n", n
        for (a in worst)
          printf "worst click off its flash, allowed %s ms: %.4f ms in %d scenarios (%s)\n", a, worst[a], count[a], at[a]
        printf "worst flash off its place: %.4f ms\nworst length off the span: %.4f ms\n", worstFlash, worstLength }'
failed=$(grep -o 'FAILED  \] .*GetParam() = [0-9]*' "$log" | grep -o '[0-9]*$' | sort -un || true)
if [ -n "$failed" ]; then
  echo "failed seeds (QUILLET_SWEEP_COUNT=1 QUILLET_SWEEP_FIRST_SEED=N build/bin/cli_sweep_test reruns one):"
  echo "$failed"
  rm -f "$log"
  exit 1
fi
rm -f "$log"
echo "all passed"
