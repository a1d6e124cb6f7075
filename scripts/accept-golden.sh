#!/usr/bin/env bash
# Accepts the new outputs that failing golden-file tests left beside their golden files
# (*.actual), after a person has read the differences.
set -euo pipefail
cd "$(dirname "$0")/../tests"
find . -name '*.actual' -print0 | while IFS= read -r -d '' f; do
  golden="${f%.actual}"
  echo "accepting $golden"
  mv "$f" "$golden"
done
