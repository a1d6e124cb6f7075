#!/usr/bin/env bash
# Builds Vardel (installing missing Debian packages first) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -x build/program/vardel ]; then
  exec build/program/vardel "$@"
fi
exec build/program/vardel-calc --json "$@" build/program/VardelOK.cfg
