#!/usr/bin/env bash
# Configures and builds Quillet in build/ (Ninja, release with debug information).
# QUILLET_BUILD_TESTS=OFF leaves the test programs out.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLET_BUILD_TESTS="${QUILLET_BUILD_TESTS:-ON}" >/dev/null
cmake --build build
