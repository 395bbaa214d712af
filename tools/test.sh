#!/usr/bin/env bash
# Sets up, builds and runs every test under Wine and Xvfb.
# Arguments go to ctest, e.g. tools/test.sh -R Base64 to run a subset.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${TESSARY_BUILD:-$top/build}
"$top/tools/setup.sh" >/dev/null
"$top/tools/build.sh" "$build"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$top/tools/under-wine.sh" "$build" \
  ctest --test-dir "$build" -j"$(nproc)" --output-on-failure --timeout 600 "$@"
