#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; only the missing ones.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libgl-dev qt6-image-formats-plugins
  libpugixml-dev libjpeg62-turbo-dev libcurl4-openssl-dev libzip-dev libfreexl-dev
  libgtest-dev libgmock-dev libbenchmark-dev xvfb
  python3-pysmi csvkit libxml2-utils python3-openpyxl smitools
  clang libclang-rt-14-dev
  fonts-dejavu-core
  libpoppler-qt6-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
