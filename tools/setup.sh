#!/bin/bash
# Installs what the build and the tests need on a fresh Debian 12 machine.
# Quick when everything is already there: it only asks dpkg.
set -eu

packages=(
  cmake ninja-build dpkg-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-x86-64-dev mingw-w64-i686-dev
  libz-mingw-w64-dev libstb-dev googletest
  wine wine64 xvfb xcompmgr xdotool imagemagick fonts-wine fonts-wqy-microhei
)
# wine32 is deliberately absent: this kernel runs no 32-bit code, and the
# "wine" wrapper would prefer it and fail.

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
