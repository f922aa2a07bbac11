#!/bin/bash
# Builds both targets (x64: the checked build, with assertions and
# undefined-behaviour traps, that runs here under Wine; x86: the 32-bit
# product, optimised) and runs every test of the x64 build under Wine.
set -eu
cd "$(dirname "$0")/.."

tools/setup.sh
for preset in x64 x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
ctest --preset x64
