#!/usr/bin/env bash
# Builds Vardel and runs every test: once as the machine is set, then once more on a Polish
# desktop (LANG=pl_PL.UTF-8, decimal comma), where the programs' users live. With --sanitize: a
# separate build with AddressSanitizer and UndefinedBehaviorSanitizer, run once.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDEL_TESTS=ON -DVARDEL_BENCH=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DVARDEL_SANITIZE=ON -DVARDEL_TESTS=ON -DVARDEL_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j2
if [ "$dir" = build ]; then
  echo "test.sh: the suite once more under LANG=pl_PL.UTF-8"
  env -u LC_ALL -u LC_NUMERIC -u LC_MESSAGES -u LANGUAGE LANG=pl_PL.UTF-8 \
    ctest --test-dir "$dir" --output-on-failure -j2
fi
