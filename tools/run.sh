#!/usr/bin/env bash
# Builds the program, starts the services stand-in with its demo scenario,
# syncs the demo account with tessary-sync.exe under Wine and prints what the
# sync stored, then opens Tessary.exe on that account with the stand-in as its
# proxy: on the X display of DISPLAY when one answers there, until the reader is
# closed; otherwise under Xvfb, where build/demo/Tessary.bmp keeps a picture of
# its window before WM_CLOSE closes it. Each run starts from an empty Data\
# folder in build/demo/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARY_BUILD:-$top/build}
"$top/tools/build.sh" "$build"

demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo"
# The reader looks for Data\ beside itself, where the sync tool stores the account.
cp "$build/tools/sync/tessary-sync.exe" "$build/Tessary.exe" "$build/tools/shot/tessary-shot.exe" "$demo/"
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# The user's display when it answers (xkbcomp comes with Xvfb's packages).
on_display=false
if [ -n "${DISPLAY:-}" ] && xkbcomp -w 0 "$DISPLAY" - >/dev/null 2>&1; then
  on_display=true
fi
display=()
$on_display || display=(xvfb-run -a -s "-screen 0 1280x1024x24")

# On the user's display the reader stays open as long as the user wants it.
max_seconds=900
if $on_display; then max_seconds=86400; fi
python3 "$top/tools/services/standin.py" --scenario "$top/tools/services/demo/scenario.json" \
  --port 0 --port-file "$demo/standin.port" --log "$demo/requests.jsonl" --max-seconds "$max_seconds" \
  </dev/null >/dev/null 2>"$demo/standin.err" &
standin=$!
trap 'kill "$standin" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$demo/standin.port" ] && break; sleep 0.1; done
[ -s "$demo/standin.port" ] || { cat "$demo/standin.err" >&2; exit 1; }
port=$(cat "$demo/standin.port")
# WinINet under Wine takes its proxy from http_proxy while the prefix's registry has none.
proxy=(env http_proxy="http://127.0.0.1:$port")

echo "== Syncing reader@example.com through the stand-in on 127.0.0.1:$port"
status=0
"${display[@]}" "$top/tools/under-wine.sh" "$build" \
  "${proxy[@]}" wine "$demo/tessary-sync.exe" reader@example.com reader || status=$?
echo "== tessary-sync.exe exited with $status"
echo
python3 "$top/tools/sync/show_store.py" "$demo/Data"
echo

reader=0
if $on_display; then
  echo "== Tessary.exe is open on $DISPLAY; close its window to end"
  "$top/tools/under-wine.sh" "$build" "${proxy[@]}" wine "$demo/Tessary.exe" || reader=$?
else
  echo "== Tessary.exe under Xvfb: its window is saved, then closed with WM_CLOSE"
  "${display[@]}" "$top/tools/under-wine.sh" "$build" "${proxy[@]}" \
    wine "$demo/tessary-shot.exe" "$(windows_path "$demo/Tessary.exe")" "$(windows_path "$demo/Tessary.bmp")" \
    || reader=$?
  [ -s "$demo/Tessary.bmp" ] && echo "   picture: $demo/Tessary.bmp"
fi
# 1 is the reader's normal end; -1 (a failed start) reads 255 here.
echo "== Tessary.exe exited with $reader"
[ "$status" -eq 0 ] && [ "$reader" -eq 1 ]
