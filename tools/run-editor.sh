#!/bin/bash
# Builds the editor if needed and starts it under Wine: on the current
# display when there is one, otherwise on a private Xvfb display, where a
# screenshot is saved after start-up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/setup-debian.sh"
cmake -S "$root" -B "$root/build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j2 --target rpgitem-editor
exe="$root/build/win32/rpgitem-editor.exe"
. "$root/tools/wine-env.sh"

if [ -n "${DISPLAY:-}" ] && display_is_up "$DISPLAY"; then
  ensure_prefix
  exec wine "$exe"
fi

ensure_xvfb "$RPGITEM_TEST_DISPLAY"
ensure_prefix
export DISPLAY=$RPGITEM_TEST_DISPLAY
shot="$root/build/screenshots/editor.png"
mkdir -p "$(dirname "$shot")"
wine "$exe" </dev/null >/dev/null 2>&1 &
editor=$!
for _ in $(seq 1 60); do
  xdotool search --class rpgitem-editor.exe >/dev/null 2>&1 && break
  sleep 0.25
done
sleep 2
import -window root "$shot"
echo "No display: the editor ran on Xvfb $DISPLAY; screenshot saved to $shot"
kill "$editor" 2>/dev/null || true
wineserver -k 2>/dev/null || true
