#!/bin/bash
# The package step: builds the x86 preset (the 32-bit product, optimised as a
# release and with debug information) and makes the shipped program in
# build/x86/package:
#   QLMNews.exe        stripped; its .gnu_debuglink names the file below
#   QLMNews.exe.debug  its debug information, for debuggers and crash dumps
# then checks the shipped image (randomisable base with relocations, NX, no
# window-system DLL in its import table) and prints the sizes.
set -eu
cd "$(dirname "$0")/.."

build=build/x86
out=$build/package
triplet=i686-w64-mingw32

tools/setup.sh
cmake --preset x86 >/dev/null
cmake --build --preset x86 --target QLMNews | tail -1

rm -rf "$out"
mkdir -p "$out"
built=$build/bin/QLMNews.exe
"$triplet-objcopy" --only-keep-debug "$built" "$out/QLMNews.exe.debug"
# The link records the debug file's name and checksum; debuggers look for it
# beside the program.
(cd "$out" && "$triplet-objcopy" --strip-all --add-gnu-debuglink=QLMNews.exe.debug \
  "../bin/QLMNews.exe" QLMNews.exe)

cmake -DOBJDUMP="$triplet-objdump" -DIMAGE="$out/QLMNews.exe" -DFLAGS=DYNAMIC_BASE,NX_COMPAT \
  -P cmake/ImageHardeningCheck.cmake
"$triplet-objdump" -p "$out/QLMNews.exe" >"$out/headers.txt"
imports=$(sed -n 's/^\tDLL Name: //p' "$out/headers.txt" | tr '\n' ' ')
if echo "$imports" | grep -qiE 'user32|gdi32|shell32|shlwapi|ole32|oleaut32|comctl32'; then
  echo "package: the shipped program imports a window-system DLL at start: $imports" >&2
  exit 1
fi
grep -q '\.gnu_debuglink' <("$triplet-objdump" -h "$out/QLMNews.exe") || {
  echo "package: QLMNews.exe lost its debug link" >&2
  exit 1
}

size_of() { stat -c %s "$1"; }
echo "package: $out"
printf '  %-34s %9d bytes\n' "QLMNews.exe (shipped, stripped)" "$(size_of "$out/QLMNews.exe")"
printf '  %-34s %9d bytes\n' "QLMNews.exe.debug" "$(size_of "$out/QLMNews.exe.debug")"
printf '  %-34s %9d bytes\n' "$built (as linked)" "$(size_of "$built")"
echo "  imports at start: $imports"
# The header flags: "DllCharacteristics <hex>" and one indented line per flag.
awk '/^DllCharacteristics/ { p = 1; printf "  %s", $0; next }
     p && /^\t/ { printf " %s", $1; next }
     p { print ""; exit }' "$out/headers.txt"
