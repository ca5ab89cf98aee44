#!/usr/bin/env bash
# Builds the tests of the platform layer, the synchronization model and lists, the language
# files and the replay of the fuzz corpora (every parser of outside text) with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, and runs them there. Any
# report fails the run.
# Expects the environment scripts/test.sh sets up (display-less Qt, the null sound sink).
set -euo pipefail
cd "$(dirname "$0")/.."
labels=(platform sync language fuzz)
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
# Optimised lightly and with line tables only (-g1): a report still names its lines, and the
# build takes a good deal less time than one with full debugging information.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
targets=()
for label in "${labels[@]}"; do targets+=("tests_$label"); done
cmake --build build-asan --target "${targets[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-asan
ctest --output-on-failure -j2 -L "$(IFS='|'; echo "${labels[*]}")"
