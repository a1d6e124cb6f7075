#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vardel need.
# Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  qt6-charts-dev libqt6opengl6-dev  # Qt Charts' CMake files need the OpenGL ones
  libgtest-dev libgmock-dev libbenchmark-dev
  libuemf-dev libemf2svg-dev libzip-dev
  clang libclang-rt-14-dev
  xvfb xauth fonts-dejavu-core poppler-utils
  cups-daemon cups-client
  libreoffice-writer-nogui fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
