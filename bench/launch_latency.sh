#!/bin/bash
# Launch-to-report latency of QLMNews.exe beside a reference program that
# only opens the service pipe and writes one frame: median of each over
# RUNS runs (default 21) and their ratio. Builds the x64 preset and runs
# under the Wine harness; the programs run from build/x64/bench, where the
# result (result.txt) and what the service received stay afterwards.
set -eu
cd "$(dirname "$0")/.."

runs=${RUNS:-21}
tools/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 -j2 >/dev/null
cmake/wine-harness.sh start build/x64 >/dev/null
trap 'cmake/wine-harness.sh stop build/x64' EXIT

out=build/x64/bench
rm -rf "$out"
mkdir -p "$out"
for exe in QLMNews QLMServiceProc PipeReference LaunchLatency; do
  cp "build/x64/bin/$exe.exe" "$out/"
done
build/x64/wine/run "$out/LaunchLatency.exe" "$runs" | tee "$out/result.txt"
