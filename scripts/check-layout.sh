#!/usr/bin/env bash
# Checks the source tree's layout rules that the compiler cannot see: no file in src/ is
# longer than 500 lines, and the media framework's core (src/platform/graph/ itself) includes
# nothing from the stages built on it (sources, convert, playback, writing), which reach it
# through the factories it keeps. Prints each breach; fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while read -r lines path; do
  [ "$path" = total ] && continue
  if [ "$lines" -gt 500 ]; then
    echo "$path: $lines lines (at most 500)"
    status=1
  fi
done < <(find src -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 wc -l)
if grep -Hn '#include "platform/graph/\(sources\|convert\|playback\|writing\)/' \
    src/platform/graph/*.h src/platform/graph/*.cpp; then
  echo "the graph's core includes a stage built on it (above)"
  status=1
fi
exit "$status"
