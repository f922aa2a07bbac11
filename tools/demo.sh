#!/bin/bash
# The program's main job as it stands: QLMNews.exe started the way the client
# starts it (page address, ad key, channel) reports to the background
# service that its pop-up is being shown. Builds the x64 preset, runs it
# under the Wine harness against the service stand-in, and prints what the
# service received, the launch log "Msg.log" and the client log.
#
# Everything of the run stays in build/x64/demo: the programs it ran,
# service-messages.txt (one line per message received), service-stderr.txt,
# Msg.log and client-log.txt.
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

stop_all() {
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
cp "$build/bin/QLMNews.exe" "$build/bin/QLMServiceProc.exe" "$out/"

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
grep -v listening "$out/service-stderr.txt" | sed 's/^/   problem: /' || true

echo
echo "== Msg.log, the launch log beside the program ($out/Msg.log)"
sed 's/\r$//; s/^/   /' "$out/Msg.log"

echo
echo "== Client log entries of this run ($out/client-log.txt)"
if [ -f "$client_log" ]; then
  tail -c +"$((client_log_before + 1))" "$client_log" | sed 's/\r$//' >"$out/client-log.txt"
else
  : >"$out/client-log.txt"
fi
if [ -s "$out/client-log.txt" ]; then
  sed 's/^/   /' "$out/client-log.txt"
else
  echo "   (none: the launcher writes the client log only for the page's actions, which come with the pop-up)"
fi
