#!/usr/bin/env bash
# Builds the program, starts the services stand-in with its demo scenario,
# syncs the demo account with tessary-sync.exe under Wine and prints what the
# sync stored. Each run starts from an empty Data\ folder in build/demo/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARY_BUILD:-$top/build}
"$top/tools/build.sh" "$build"

demo=$build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp "$build/tools/sync/tessary-sync.exe" "$demo/"

python3 "$top/tools/services/standin.py" --scenario "$top/tools/services/demo/scenario.json" \
  --port 0 --port-file "$demo/standin.port" --log "$demo/requests.jsonl" --max-seconds 900 \
  </dev/null >/dev/null 2>"$demo/standin.err" &
standin=$!
trap 'kill "$standin" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$demo/standin.port" ] && break; sleep 0.1; done
[ -s "$demo/standin.port" ] || { cat "$demo/standin.err" >&2; exit 1; }
port=$(cat "$demo/standin.port")

echo "== Syncing reader@example.com through the stand-in on 127.0.0.1:$port"
display=()
[ -n "${DISPLAY:-}" ] || display=(xvfb-run -a -s "-screen 0 1280x1024x24")
status=0
"${display[@]}" "$top/tools/under-wine.sh" "$build" \
  env http_proxy="http://127.0.0.1:$port" wine "$demo/tessary-sync.exe" reader@example.com reader || status=$?
echo "== tessary-sync.exe exited with $status"
echo
python3 "$top/tools/sync/show_store.py" "$demo/Data"
exit "$status"
