#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quick when
# everything is there already; uses sudo when not run as root.
set -euo pipefail

packages=(
  g++
  cmake
  ninja-build
  libgtest-dev
  libgmock-dev
  qt6-base-dev
  qt6-translations-l10n
  libqt6svg6
  lame
  mpg123
  libmpg123-dev
  twolame
  ffmpeg
  python3-mutagen
  eyed3
  id3v2
  python3-xlrd
  python3-pil
  fonts-dejavu-core
  help2man
  scdoc
  dpkg-dev
  lintian
  appstream
  desktop-file-utils
  bash-completion
  pkgconf
  libtag1-dev
  man-db
  xvfb
  xdotool
  clang-format
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
