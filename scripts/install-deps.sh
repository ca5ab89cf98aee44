#!/usr/bin/env bash
# Installs the Debian packages Quillet needs: "build" for the program, "test" adds what the
# test suite, the manual checks and the package's check use, "package" what scripts/package.sh
# uses, "fuzz" adds clang and its libFuzzer and sanitizer runtimes (libclang-rt-14-dev) for
# scripts/fuzz.sh. Packages already present are left alone.
set -euo pipefail

build_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libavfilter-dev librubberband-dev qt6-qpa-plugins fonts-dejavu-core
  fonts-wqy-microhei # the Chinese language file needs a font with its characters
  qt6-translations-l10n) # the toolkit's own texts (dialog buttons) in the chosen language
test_packages=(libgtest-dev qt6-base-private-dev ffmpeg espeak-ng pulseaudio pulseaudio-utils xvfb xdotool imagemagick sox
  parallel
  python3-numpy appstream desktop-file-utils)
fuzz_packages=(clang libclang-rt-14-dev)
# The Debian package: its dependencies from the libraries, its check, its manual page.
package_packages=(dpkg-dev lintian help2man)

wanted=("${build_packages[@]}")
case "${1:-build}" in
test) wanted+=("${test_packages[@]}" "${package_packages[@]}") ;;
package) wanted+=("${package_packages[@]}") ;;
fuzz) wanted+=("${fuzz_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
