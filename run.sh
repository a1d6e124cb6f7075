#!/usr/bin/env bash
# Builds Vardel (installing missing Debian packages first) and starts it. Without a display the
# windows cannot open: the command-line summary of the design case in the settings file is
# printed instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are empty), so the windows cannot open;" \
    "here is the command-line summary of build/program/VardelOK.cfg instead." >&2
  exec build/program/vardel-calc "$@" build/program/VardelOK.cfg
fi
exec build/program/vardel "$@"
