#!/bin/bash
# Brings up (start) or down (stop) what the Windows programs of a build folder
# run in here: a private Wine prefix inside the build folder, an Xvfb display
# with a compositor (layered windows only blend under one), and a persistent
# wineserver so that each program starts in a fraction of a second.
#
#   wine-harness.sh start BUILD_DIR    idempotent; prepares fonts and registry
#   wine-harness.sh stop  BUILD_DIR    stops the server, Xvfb and the compositor
#
# Nothing in the prefix is removed on stop: logs, "data.xml", "Msg.log" and the
# registry stay for inspection after a failure.
set -eu

cmd=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
state=$build/wine
mkdir -p "$state"

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=wineserver

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

start_display() {
  if alive "$state/xvfb.pid" && [ -f "$state/display" ]; then
    return
  fi
  local n
  for n in $(seq 91 190); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      alive "$state/xvfb.pid" || break
      sleep 0.1
    done
    if alive "$state/xvfb.pid" && [ -e "/tmp/.X11-unix/X$n" ]; then
      echo ":$n" >"$state/display"
      # Partial per-pixel alpha and constant window alpha only blend under a
      # compositor; its "BadRegion" complaints are harmless.
      xcompmgr -d ":$n" >"$state/xcompmgr.log" 2>&1 &
      echo $! >"$state/xcompmgr.pid"
      return
    fi
  done
  echo "wine-harness: no free X display found" >&2
  exit 1
}

create_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ]; then
    return
  fi
  echo "wine-harness: creating the Wine prefix $WINEPREFIX (takes a few seconds)"
  # Mono and Gecko are not installed here; the overrides keep wineboot from
  # offering to download them.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i >"$state/wineboot.log" 2>&1
  "$WINESERVER" -w
}

install_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
}

import_registry() {
  local reg=$state/harness.reg
  # regedit reads UTF-16 with a byte-order mark and CRLF lines; the face
  # name "微软雅黑" needs the UTF-16 form.
  { printf '\xff\xfe'; sed 's/$/\r/' "$here/wine-harness.reg" | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  "$WINE" regedit /S "$(winepath_of "$reg")" >>"$state/regedit.log" 2>&1
}

winepath_of() { echo "Z:$1" | sed 's|/|\\|g'; }

prepare_folders() {
  # The client platform's installation folder named by the registry.
  mkdir -p "$WINEPREFIX/drive_c/Quillmarsh/Platform"
  mkdir -p "$WINEPREFIX/drive_c/ProgramData"
}

case $cmd in
  start)
    start_display
    export DISPLAY=$(cat "$state/display")
    create_prefix
    # A persistent server; its output is detached or the calling shell may
    # wait for it forever.
    ( "$WINESERVER" -p >/dev/null 2>&1 & )
    install_fonts
    prepare_folders
    import_registry
    echo "wine-harness: prefix $WINEPREFIX, display $DISPLAY"
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    for p in xcompmgr xvfb; do
      if alive "$state/$p.pid"; then kill "$(cat "$state/$p.pid")" 2>/dev/null || true; fi
      rm -f "$state/$p.pid"
    done
    rm -f "$state/display"
    ;;
  *)
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac
