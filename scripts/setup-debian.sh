#!/usr/bin/env bash
# Installs every Debian package Velmora needs to build, test and run.
# Shared by ./run and ./test so both see the same list; installs only what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n
  libswe-dev swe-basic-data swe-standard-data swetest
  libicu-dev
  googletest libgtest-dev libbenchmark-dev
  libgeonames-dev libgeonames0 libgeonames-common libsqlite3-dev libglib2.0-dev tzdata
  xvfb xauth
  fonts-dejavu-core fonts-noto-core
  qt6-svg-dev
  desktop-file-utils appstream dpkg-dev
)

# Only the scripts in tools/ need these (resources, screenshots).
if [ "${1:-}" = "--tools" ]; then
  packages+=(python3-fontforge xplanet-images imagemagick xdotool)
fi
# Only tools/fuzz.sh needs these: clang's libFuzzer runtime is not pulled in without recommends.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
