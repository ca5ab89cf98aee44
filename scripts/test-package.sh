#!/usr/bin/env bash
# Builds the Debian package, installs it into this machine, runs both programs from
# /usr/bin (quillet-convert --help, the main window under Xvfb for a few seconds) and removes
# it again, checking that no file of it stays behind. scripts/test.sh runs it when CI=true
# only: it changes the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(scripts/package.sh | tail -1)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$deb" >/dev/null
mapfile -t files < <(dpkg -L quillet)
cleanup() { $SUDO apt-get remove -y -qq quillet >/dev/null 2>&1 || true; }
trap cleanup EXIT

/usr/bin/quillet-convert --help >/dev/null
# The main window stays up until it is ended: 124 is the timeout's own status.
status=0
env -u QT_QPA_PLATFORM timeout 5 xvfb-run -a /usr/bin/quillet || status=$?
if [ "$status" -ne 124 ]; then
  echo "the installed quillet ended by itself with status $status" >&2
  exit 1
fi

DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -qq quillet >/dev/null
trap - EXIT
left=()
for path in "${files[@]}"; do
  # Folders the system shares (/usr/bin, /usr/share/man/man1, ...) stay; the package's own
  # files and folders must not.
  if [ -e "$path" ] && { [ ! -d "$path" ] || [[ "$path" == */quillet ]]; }; then
    left+=("$path")
  fi
done
if [ ${#left[@]} -gt 0 ]; then
  echo "left behind by apt-get remove: ${left[*]}" >&2
  exit 1
fi
echo "package $deb: installed, ran from /usr/bin, removed without a trace"
