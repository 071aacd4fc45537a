#!/bin/bash
# Builds everything and runs every test: native unit tests, then the Windows
# tests under Wine on a private Xvfb display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${RPGITEM_JOBS:-2}

"$root/tools/setup-debian.sh"

echo "== native build and tests"
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" -j"$jobs"
ctest --test-dir "$root/build/native" --output-on-failure

. "$root/tools/wine-env.sh"
if [ "$RPGITEM_WINE_BITS" != 32 ]; then
  # This host runs no 32-bit code: the product is built for 32-bit Windows
  # all the same, and the tests run a 64-bit build of the same sources.
  echo "== 32-bit Windows program (this host cannot run it: tests use the 64-bit build)"
  cmake -S "$root" -B "$root/build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$root/build/win32" -j"$jobs" --target rpgitem-editor
fi
echo "== Windows build and tests (Wine, $RPGITEM_WINE_BITS-bit)"
cmake -S "$root" -B "$RPGITEM_WINDOWS_BUILD" -DCMAKE_TOOLCHAIN_FILE="$RPGITEM_TOOLCHAIN" >/dev/null
cmake --build "$RPGITEM_WINDOWS_BUILD" -j"$jobs"
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's server and system processes start here, outside ctest's pipes.
"$root/tools/wine-run.sh" --prepare
ctest --test-dir "$RPGITEM_WINDOWS_BUILD" --output-on-failure --timeout 900
