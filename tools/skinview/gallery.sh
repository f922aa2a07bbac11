#!/bin/sh
# Paints the gallery skin with skinview --shot into docs/gallery.png (the
# picture in the README). Builds the x64 tools first; runs them under the
# build's Wine harness.
set -e
cd "$(dirname "$0")/../.."
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target skinview
cmake/wine-harness.sh start build/x64
trap 'cmake/wine-harness.sh stop build/x64' EXIT
mkdir -p docs
build/x64/wine/run build/x64/bin/skinview.exe --shot docs/gallery.png tools/skinview/gallery/gallery.xml \
  > build/x64/gallery.log 2>&1 || { cat build/x64/gallery.log; exit 1; }
echo "wrote docs/gallery.png"
