#!/usr/bin/env bash
# Builds the libFuzzer programs of the parsers in build-fuzz/ (clang, with the address and
# undefined-behaviour checks) and runs each for SECONDS (default 60), starting from a copy of
# its seed corpus in tests/fuzz/corpus/<target>/. Prints executions per second and coverage
# per target; exits non-zero when any target found a crash, a hang, a leak or undefined
# behaviour. The inputs that did it are kept in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]    targets: inifile sync_list language_file
#                                            time_text profile_text (default all)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(inifile sync_list language_file time_text profile_text)
fi

# Longest input per target: a few times the largest seed, so mutations can grow files.
declare -A max_len=([inifile]=4096 [sync_list]=4096 [language_file]=8192 [time_text]=64
  [profile_text]=4096)

scripts/install-deps.sh fuzz

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_BUILD_FUZZ=ON -DQUILLET_BUILD_TESTS=OFF \
  -DQUILLET_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target $(printf 'fuzz_%s ' "${targets[@]}")

export QT_QPA_PLATFORM=offscreen
# The targets that read files write every input to one: on a disk file system each rewrite
# may wait for the disk, in memory it does not.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
findings="$build/findings"
mkdir -p "$findings"
failed=()
summary=()
for target in "${targets[@]}"; do
  [ -n "${max_len[$target]:-}" ] || { echo "unknown target: $target" >&2; exit 2; }
  # libFuzzer adds what it finds to the work corpus; the seeds in the source tree stay as
  # they are.
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  cp -n tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  log="$build/fuzz_$target.log"
  echo "== $target: ${seconds} s"
  status=0
  "$build/bin/fuzz_$target" "$corpus" -max_total_time="$seconds" \
    -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" >"$log" 2>&1 || status=$?
  # The last status line holds the coverage: "#N DONE cov: C ft: F corp: ...".
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  speed=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  corpus_size=$(find "$corpus" -type f | wc -l)
  line=$(printf '%-14s %10s exec/s %12s runs  %-22s corpus %s' "$target" "${speed:-?}" \
    "${runs:-?}" "${coverage:-cov: ? ft: ?}" "$corpus_size")
  if [ "$status" -ne 0 ]; then
    line="$line  FAILED (exit $status, see $log)"
    failed+=("$target")
    grep -E 'ERROR: |SUMMARY: |check failed|Test unit written' "$log" | head -n 8 || true
  fi
  echo "$line"
  summary+=("$line")
done

echo
echo "== summary (${seconds} s per target)"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
  echo "failed: ${failed[*]}; inputs in $findings/" >&2
  exit 1
fi
