#!/usr/bin/env bash
# Builds Vardel (installing the missing Debian packages that building and running need, not the
# test kit) and starts it. Only the programs and their directory are built; ./test.sh builds the
# rest. Without a display the windows cannot open: the command-line summary of the design case in
# the settings file is printed instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
# A build directory that ./test.sh configured keeps its tests and benchmarks.
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ ! -f build/CMakeCache.txt ]; then
  flags+=(-DVARDEL_TESTS=OFF -DVARDEL_BENCH=OFF)
fi
cmake -S . -B build -G Ninja "${flags[@]}" >/dev/null
cmake --build build --target vardel vardel-calc Lumdruk vardel_pictures
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are empty), so the windows cannot open;" \
    "here is the command-line summary of build/program/VardelOK.cfg instead." >&2
  exec build/program/vardel-calc "$@" build/program/VardelOK.cfg
fi
exec build/program/vardel "$@"
