#!/usr/bin/env bash
# Builds the Debian package of Quillet with CPack from the build in build/ (the installed
# layout, its dependencies from dpkg-shlibdeps, manual pages, copyright and changelog) and
# checks it with lintian, which must report no error and no warning. Prints the package's
# path on the last line.
#
#   scripts/package.sh
#   sudo apt-get install ./build/quillet_0.1.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
scripts/build.sh >&2
(cd build && rm -f quillet_*.deb && cpack -G DEB >&2)
deb=$(ls build/quillet_*.deb)
lintian --fail-on error,warning "$deb" >&2
echo "$deb"
