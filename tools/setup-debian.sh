#!/bin/sh
# Installs everything the build and the tests need on Debian 12.
# Quiet and quick when all is present.
set -eu

need_packages="cmake g++ make libgtest-dev libbenchmark-dev
 g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
 wine wine32:i386 wine64 fonts-wine xvfb xauth imagemagick xdotool x11-utils
 fonts-wqy-microhei fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming
 locales python3 file libstb-dev clang libclang-rt-dev"

missing=""
for p in $need_packages; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "setup: installing$missing" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
# A Chinese locale lets the tests run the editor under code page 936 as well.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  grep -q '^zh_CN.UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null 2>&1 || true
fi
