#!/usr/bin/env bash
# Installs the Debian packages Vardel needs. Safe to run again: what is present is skipped.
#   scripts/install-deps.sh run    what building and running the programs need
#   scripts/install-deps.sh        that and the test kit (office suite, print server, clang, test
#                                  libraries), and the Polish and German locales the tests run in
set -euo pipefail

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  qt6-charts-dev libqt6opengl6-dev  # Qt Charts' CMake files need the OpenGL ones
  libuemf-dev libemf2svg-dev libzip-dev
  fonts-dejavu-core fonts-liberation2
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth poppler-utils
  cups-daemon cups-client
  libreoffice-writer-nogui
  locales
)
test_locales=(pl_PL.UTF-8 de_DE.UTF-8)

packages=("${run_packages[@]}")
if [ "${1:-}" != "run" ]; then
  packages+=("${test_packages[@]}")
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

if [ "${1:-}" = "run" ]; then
  exit 0
fi
# The tests run the programs where their users live: a Polish (decimal comma) desktop.
# `locale -a` spells pl_PL.UTF-8 as pl_PL.utf8.
generate=()
for l in "${test_locales[@]}"; do
  short="${l%.UTF-8}.utf8"
  if ! locale -a 2>/dev/null | grep -qx "$short"; then
    generate+=("$l")
  fi
done
if [ ${#generate[@]} -gt 0 ]; then
  echo "Generating locales: ${generate[*]}"
  for l in "${generate[@]}"; do
    # Uncomment the locale's line in /etc/locale.gen, or add it when the file lacks it.
    if grep -qE "^# *${l//./\\.} UTF-8" /etc/locale.gen 2>/dev/null; then
      "${sudo_cmd[@]}" sed -i -E "s/^# *(${l//./\\.} UTF-8)/\\1/" /etc/locale.gen
    elif ! grep -qE "^${l//./\\.} UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "$l UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
  done
  "${sudo_cmd[@]}" locale-gen
fi
