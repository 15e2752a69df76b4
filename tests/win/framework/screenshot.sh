#!/usr/bin/env bash
# Shows the main dialog from our template on the test run's virtual display
# and saves a picture of the screen and one of the dialog alone.
# Usage: screenshot.sh framework_test.exe OUTPUT_DIR
set -euo pipefail
exe=$1 out=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
source "$root/scripts/wine-env.sh"
mkdir -p "$out"
work=$(mktemp -d "$out/.run.XXXXXX")
ready=$work/ready done=$work/done
winpath() { echo "Z:${1//\//\\}"; }

# Output through a file: Wine's service processes must not inherit ctest's pipe.
wine "$exe" --show-main-dialog "$(winpath "$ready")" "$(winpath "$done")" > "$work/log" 2>&1 < /dev/null &
pid=$!
for _ in $(seq 300); do [ -s "$ready" ] && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if [ ! -s "$ready" ]; then echo "screenshot: the dialog never showed" >&2; kill "$pid" 2>/dev/null; exit 1; fi
sleep 0.5   # let the X server finish drawing
read -r x y w h < "$ready"
import -display "$DISPLAY" -window root "$out/screen.png"
convert "$out/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$out/main_dialog.png"
touch "$done"
status=0
wait "$pid" || status=$?
cat "$work/log"
rm -rf "$work"
[ "$status" -eq 0 ] || { echo "screenshot: the dialog program failed ($status)" >&2; exit 1; }

# A blank or uniform capture means nothing was drawn.
colours=$(identify -format '%k' "$out/main_dialog.png")
echo "screenshot: $out/main_dialog.png (${w}x${h}, $colours colours), $out/screen.png"
[ "$colours" -ge 8 ] || { echo "screenshot: only $colours colours in the dialog's picture" >&2; exit 1; }
