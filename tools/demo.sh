#!/bin/bash
# The program's main job as it stands: QLMNews.exe started the way the client
# starts it (page address, ad key, channel) reports to the background
# service that its pop-up is being shown. The pop-up window comes later, so
# the page's actions are then made by PageDriver.exe, which calls the
# page's `window.external` object exactly as the browser will (a download,
# a refused address, closing, not today). Builds the x64 preset, runs
# everything under the Wine harness against the service and platform
# stand-ins, and prints what each received, the launch log "Msg.log", the
# client log and the configuration file "data.xml".
#
# Everything of the run stays in build/x64/demo: the programs it ran,
# service-messages.txt (one line per message received), service-stderr.txt,
# platform-commands.txt (one line per command the platform received),
# platform-stderr.txt, PlatformParam.ini, driver-*.txt (what each page action
# printed), Msg.log, client-log.txt (code page 936, as written) and data.xml.
set -eu
cd "$(dirname "$0")/.."

page=${1:-https://ads.example.com/popup?id=42}
key=${2:-AD-20240101-7}
channel=${3:-channel-demo}

build=build/x64
out=$build/demo
run=$build/wine/run
prefix=$build/wineprefix
demo_user=QM-DEMO-USER
harness_user=QM-HARNESS-USER

tools/setup.sh
cmake --preset x64 >/dev/null
echo "== Building the x64 programs"
cmake --build --preset x64 -j2 | tail -1
cmake/wine-harness.sh start "$build"

winpath() { echo "Z:$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" | sed 's|/|\\|g'; }

platform_dir=$prefix/drive_c/Quillmarsh/Platform
config=$prefix/drive_c/ProgramData/Quillmarsh/Config/data.xml

stop_all() {
  if [ -n "${platform_pid:-}" ] && kill -0 "$platform_pid" 2>/dev/null; then
    "$run" "$(winpath "$out/QMPlatform.exe")" --stop >/dev/null 2>&1 || true
    wait "$platform_pid" 2>/dev/null || true
  fi
  rm -f "$platform_dir/QMPlatform.exe" "$platform_dir/PlatformParam.ini"
  # The client configuration goes back to what it was before the demo.
  if [ -f "$out/data.xml.before" ]; then cp "$out/data.xml.before" "$config"; fi
  if [ -f "$out/data.xml.absent" ]; then rm -f "$config"; fi
  if [ -n "${service_pid:-}" ] && kill -0 "$service_pid" 2>/dev/null; then
    "$run" "$(winpath "$out/QLMServiceProc.exe")" --stop >/dev/null 2>&1 || true
    wait "$service_pid" 2>/dev/null || true
  fi
  # Put back the identity the tests expect, then stop the harness.
  "$run" reg add 'HKLM\Software\Quillmarsh' /v UserID /t REG_SZ /d "$harness_user" /f >/dev/null 2>&1 || true
  cmake/wine-harness.sh stop "$build"
}
trap stop_all EXIT

rm -rf "$out"
mkdir -p "$out"
cp "$build/bin/QLMNews.exe" "$build/bin/QLMServiceProc.exe" "$build/bin/QMPlatform.exe" \
  "$build/bin/PageDriver.exe" "$out/"
if [ -f "$config" ]; then cp "$config" "$out/data.xml.before"; else : >"$out/data.xml.absent"; fi

echo "== Preparing the Wine prefix: the client's user identity and platform folder"
"$run" reg add 'HKLM\Software\Quillmarsh' /v UserID /t REG_SZ /d "$demo_user" /f >/dev/null
"$run" reg add 'HKLM\Software\Quillmarsh\platform' /v Installation /t REG_SZ /d 'C:\Quillmarsh\Platform' /f >/dev/null
mkdir -p "$prefix/drive_c/Quillmarsh/Platform"
echo "   HKLM\\Software\\Quillmarsh UserID = $demo_user"
echo "   platform folder C:\\Quillmarsh\\Platform"

log_dir=$prefix/drive_c/ProgramData/Quillmarsh/Log
client_log=$log_dir/QuillmarshLog_$(date +%Y)-$(date +%m)-$(date +%d).log
client_log_before=$(stat -c %s "$client_log" 2>/dev/null || echo 0)

echo "== Starting the service stand-in (QLMServiceProc.exe)"
"$run" "$(winpath "$out/QLMServiceProc.exe")" "$(winpath "$out/service-messages.txt")" \
  >"$out/service-stdout.txt" 2>"$out/service-stderr.txt" &
service_pid=$!
for _ in $(seq 1 100); do
  grep -q listening "$out/service-stderr.txt" 2>/dev/null && break
  sleep 0.1
done

echo "== Running QLMNews.exe \"$page\" $key $channel"
set +e
"$run" "$(winpath "$out/QLMNews.exe")" "$page" "$key" "$channel"
code=$?
set -e
echo "   exit code $code"
for _ in $(seq 1 50); do
  [ -s "$out/service-messages.txt" ] && break
  sleep 0.1
done

echo
echo "== Starting the platform stand-in (QMPlatform.exe) from C:\\Quillmarsh\\Platform"
cp "$out/QMPlatform.exe" "$platform_dir/"
rm -f "$platform_dir/PlatformParam.ini"
"$run" 'C:\Quillmarsh\Platform\QMPlatform.exe' --out "$(winpath "$out/platform-commands.txt")" \
  >/dev/null 2>"$out/platform-stderr.txt" &
platform_pid=$!
for _ in $(seq 1 100); do
  grep -q published "$out/platform-stderr.txt" 2>/dev/null && break
  sleep 0.1
done
sed 's/\r$//; s/^/   /' "$out/platform-stderr.txt"

# Each page action runs in a driver process of its own, as each pop-up is a
# process of its own.
n=0
page_action() {
  n=$((n + 1))
  echo
  echo "== Page action $n: window.external.$*"
  "$run" "$(winpath "$out/PageDriver.exe")" --key "$key" --channel "$channel" "$@" >"$out/driver-$n.txt" 2>&1 || true
  sed 's/\r$//; s/^/   /' "$out/driver-$n.txt"
}
page_action StartDownLoad GAME-1001 b c d "from=popup"
page_action ShowUrl 'file:///C:/windows/system32/notepad.exe'
page_action CloseADFrame
page_action NotShowToday
cp "$config" "$out/data.xml"
# The launch report and the three reports of the actions that end the
# frame; the refused address reports nothing.
for _ in $(seq 1 200); do
  [ "$(wc -l <"$out/service-messages.txt" 2>/dev/null || echo 0)" -ge 4 ] && break
  sleep 0.1
done

echo
echo "== What the service received ($out/service-messages.txt)"
if [ -s "$out/service-messages.txt" ]; then
  while IFS= read -r line; do
    echo "   envelope: $line"
    report=$(printf '%s' "$line" | sed -e 's/^{"data":"//' -e 's/","sendurl".*$//' -e 's/\\"/"/g' -e 's/\\n$//')
    echo "   report:   $report"
  done <"$out/service-messages.txt"
else
  echo "   (nothing arrived)"
fi
grep ': client ' "$out/service-stderr.txt" | sed 's/^/   problem: /' || true

echo
echo "== What the platform received ($out/platform-commands.txt)"
if [ -s "$out/platform-commands.txt" ]; then
  sed 's/^/   /' "$out/platform-commands.txt"
else
  echo "   (nothing arrived)"
fi
cp "$platform_dir/PlatformParam.ini" "$out/" 2>/dev/null || true

echo
echo "== Msg.log, the launch log beside the program ($out/Msg.log)"
sed 's/\r$//; s/^/   /' "$out/Msg.log"

echo
echo "== Client log entries of this run ($out/client-log.txt, shown converted from code page 936)"
if [ -f "$client_log" ]; then
  tail -c +"$((client_log_before + 1))" "$client_log" >"$out/client-log.txt"
else
  : >"$out/client-log.txt"
fi
if [ -s "$out/client-log.txt" ]; then
  iconv -f GBK -t UTF-8 "$out/client-log.txt" | sed 's/\r$//; s/^/   /'
else
  echo "   (none)"
fi

echo
echo "== The settings in data.xml after NotShowToday ($out/data.xml; the prefix's copy is put back)"
grep -E 'NotShowToday|PopCount' "$out/data.xml" | sed 's/\r$//; s/^ */   /'
