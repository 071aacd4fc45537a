#!/bin/bash
# Builds the editor if needed and starts it under Wine: on the current
# display when there is one, otherwise on a private Xvfb display, where a
# screenshot is saved after start-up. On a host that runs no 32-bit code the
# 64-bit build of the same sources is started.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/setup-debian.sh"
. "$root/tools/wine-env.sh"
cmake -S "$root" -B "$RPGITEM_WINDOWS_BUILD" -DCMAKE_TOOLCHAIN_FILE="$RPGITEM_TOOLCHAIN" >/dev/null
cmake --build "$RPGITEM_WINDOWS_BUILD" -j2 --target rpgitem-editor
exe="$RPGITEM_WINDOWS_BUILD/rpgitem-editor.exe"

if [ -n "${DISPLAY:-}" ] && display_is_up "$DISPLAY"; then
  ensure_prefix
  exec "$RPGITEM_WINE" "$exe" "$@"
fi

ensure_xvfb "$RPGITEM_TEST_DISPLAY"
ensure_prefix
export DISPLAY=$RPGITEM_TEST_DISPLAY
shot="$root/build/screenshots/editor.png"
mkdir -p "$(dirname "$shot")"
"$RPGITEM_WINE" "$exe" "$@" </dev/null >/dev/null 2>&1 &
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
