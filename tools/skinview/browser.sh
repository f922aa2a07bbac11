#!/bin/sh
# Shows tools/skinview/gallery/browser.xml live in skinview: a WebBrowser
# control showing gallery/browser.html through the page host. The page host
# is loaded by module name from the program folder (no registration), and
# takes absolute paths only, so the skin is copied into the build folder
# with the page's full Windows path as its home page. Builds the x64 tools
# first; runs them under the build's Wine harness until the window closes.
set -e
cd "$(dirname "$0")/../.."
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target skinview pagehost
cmake/wine-harness.sh start build/x64
trap 'cmake/wine-harness.sh stop build/x64' EXIT
demo=build/x64/browser-demo
mkdir -p "$demo"
cp tools/skinview/gallery/browser.html "$demo/"
# Wine's drive Z: is the root of the file system.
page="Z:$(printf '%s' "$PWD/$demo/browser.html" | tr / '\\\\')"
# Backslashes doubled for sed's replacement text.
escaped=$(printf '%s' "$page" | sed 's/\\/\\\\/g')
sed "s|homepage=\"browser.html\"|homepage=\"$escaped\"|" tools/skinview/gallery/browser.xml > "$demo/browser.xml"
build/x64/wine/run build/x64/bin/skinview.exe "$demo/browser.xml"
