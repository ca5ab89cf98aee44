#!/usr/bin/env bash
# Installs what the tests need, builds everything, starts a private sound server with a
# null sink (for the tests that check sound output) and runs every test; then, for a whole
# run (no arguments), the tests of the platform layer and the parsers once more under the
# address and undefined-behaviour sanitizers (scripts/test-sanitized.sh), and with CI=true
# the Debian package built, installed, run and removed (scripts/test-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
QUILLET_BUILD_TESTS=ON scripts/build.sh

export QT_QPA_PLATFORM=offscreen
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"
export PULSE_SERVER="unix:$runtime/pulse.sock"
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n --use-pid-file=no \
  --load="module-null-sink sink_name=ci rate=48000 channels=2" \
  --load="module-native-protocol-unix socket=$runtime/pulse.sock auth-anonymous=1" \
  --log-level=error </dev/null >"$runtime/pulse.log" 2>&1 &
pulse_pid=$!
keep_pid=""
cleanup() {
  [ -n "$keep_pid" ] && kill "$keep_pid" 2>/dev/null || true
  kill "$pulse_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
# A low-latency reader keeps the null sink from idling at 2 s latency.
parec -d ci.monitor --latency-msec=20 >/dev/null 2>&1 </dev/null &
keep_pid=$!
sleep 1
export QUILLET_TEST_SINK=ci

(cd build && ctest --output-on-failure -j2 "$@")
if [ $# -eq 0 ]; then
  scripts/test-sanitized.sh
  # The Debian package is installed into the machine and removed again: in CI only.
  if [ "${CI:-}" = true ]; then
    scripts/test-package.sh
  fi
fi
