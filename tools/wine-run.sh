#!/bin/bash
# Runs a Windows program under Wine on the private test display, preparing
# the display and the prefix first when they are missing.
#   wine-run.sh --prepare      only prepare (and start the Wine services)
#   wine-run.sh program.exe …  run the program; its exit code is returned
set -eu
# A 64-bit program runs under 64-bit Wine.
if [ -f "${1:-}" ] && file -b "$1" | grep -q '^PE32+'; then
  export RPGITEM_WINE_ARCH=win64
fi
. "$(dirname "$0")/wine-env.sh"

ensure_xvfb "$RPGITEM_TEST_DISPLAY"
# Wine's desktop process binds to the display it first sees: always ours.
export DISPLAY=$RPGITEM_TEST_DISPLAY
ensure_prefix
if [ "${1:-}" = "--prepare" ]; then
  start_wine_services
  exit 0
fi
exec wine "$@"
