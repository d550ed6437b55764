#!/usr/bin/env bash
# Installs every Debian package that the build, the program and the tests need.
# Idempotent and non-interactive; run as root on Debian 12.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  # program
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6multimedia6
  libcurl4-openssl-dev libssl-dev libarchive-dev libmpg123-dev
  fonts-wqy-microhei
  # engine library
  libespeak-ng-dev espeak-ng-data espeak-ng libsoxr-dev
  # tests and benchmarks
  libcpp-httplib-dev openssl
  xvfb xauth x11-utils xdotool imagemagick
  pulseaudio pulseaudio-utils sox libsox-fmt-mp3 lame curl python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: missing packages ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
