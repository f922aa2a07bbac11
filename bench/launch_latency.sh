#!/bin/bash
# Launch-to-report latency of QLMNews.exe beside a reference program that
# only opens the service pipe and writes one frame: median of each over
# RUNS runs (default 21) and their ratio. Builds the x64-release preset (the
# product's optimisation, not the checked build the tests use) and runs
# under the Wine harness; the programs run from build/x64-release/bench,
# where the result (result.txt) and what the service received stay
# afterwards.
set -eu
cd "$(dirname "$0")/.."

runs=${RUNS:-21}
tools/setup.sh
build=build/x64-release
cmake --preset x64-release >/dev/null
cmake --build --preset x64-release -j2 >/dev/null
cmake/wine-harness.sh start "$build" >/dev/null
trap 'cmake/wine-harness.sh stop "$build"' EXIT

out=$build/bench
rm -rf "$out"
mkdir -p "$out"
for exe in QLMNews QLMServiceProc PipeReference LaunchLatency; do
  cp "$build/bin/$exe.exe" "$out/"
done
"$build/wine/run" "$out/LaunchLatency.exe" "$runs" | tee "$out/result.txt"
