#!/usr/bin/env bash
# Installs what Quillet needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
QUILLET_BUILD_TESTS=OFF scripts/build.sh
exec build/bin/quillet "$@"
