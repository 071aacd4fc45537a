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

echo "== Windows build and tests (Wine)"
cmake -S "$root" -B "$root/build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j"$jobs"
. "$root/tools/wine-env.sh"
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's server and system processes start here, outside ctest's pipes.
"$root/tools/wine-run.sh" --prepare
ctest --test-dir "$root/build/win32" --output-on-failure --timeout 900
