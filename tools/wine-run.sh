#!/bin/bash
# Runs a Windows program under Wine on the private test display, preparing
# the display and the prefix first when they are missing.
#   wine-run.sh --prepare      only prepare (and start the Wine services)
#   wine-run.sh program.exe …  run the program; its exit code is returned
set -eu
. "$(dirname "$0")/wine-env.sh"

ensure_xvfb "$RPGITEM_TEST_DISPLAY"
# Wine's desktop process binds to the display it first sees: always ours.
export DISPLAY=$RPGITEM_TEST_DISPLAY
ensure_prefix
if [ "${1:-}" = "--prepare" ]; then
  start_wine_services
  exit 0
fi
if [ "$RPGITEM_WINE_BITS" != 32 ] && file -L "$1" 2>/dev/null | grep -q 'PE32 executable'; then
  echo "wine-run: this host runs no 32-bit code; run the 64-bit build ($RPGITEM_WINDOWS_BUILD," >&2
  echo "          cmake -DCMAKE_TOOLCHAIN_FILE=$RPGITEM_TOOLCHAIN) instead of $1" >&2
  exit 126
fi
exec "$RPGITEM_WINE" "$@"
