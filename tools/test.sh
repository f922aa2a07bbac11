#!/bin/bash
# Builds both targets (x64: runs here under Wine; x86: the 32-bit product)
# and runs every test of the x64 build under Wine.
set -eu
cd "$(dirname "$0")/.."

tools/setup.sh
for preset in x64 x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
ctest --preset x64
