# Sourced by the scripts that run Windows programs under Wine: a private
# Wine prefix with Chinese font replacements and a private Xvfb display.
# shellcheck shell=bash

RPGITEM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The product is a 32-bit program. Some hosts run no 32-bit code at all (the
# kernel's IA-32 emulation is off: every i386 execve fails), and there the
# Windows tests run a 64-bit build of the same sources under 64-bit Wine.
host_runs_32bit() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}
if [ -z "${RPGITEM_WINE_BITS:-}" ]; then
  if host_runs_32bit; then RPGITEM_WINE_BITS=32; else RPGITEM_WINE_BITS=64; fi
fi
export RPGITEM_WINE_BITS
if [ "$RPGITEM_WINE_BITS" = 32 ]; then
  export WINEARCH=win32
  RPGITEM_WINE=/usr/lib/wine/wine
  RPGITEM_WINDOWS_BUILD=$RPGITEM_ROOT/build/win32
  RPGITEM_TOOLCHAIN=$RPGITEM_ROOT/cmake/mingw-i686.cmake
  RPGITEM_DEFAULT_PREFIX=$RPGITEM_ROOT/build/wine-prefix
else
  export WINEARCH=win64
  RPGITEM_WINE=/usr/lib/wine/wine64
  export WINELOADER=$RPGITEM_WINE
  RPGITEM_WINDOWS_BUILD=$RPGITEM_ROOT/build/win64
  RPGITEM_TOOLCHAIN=$RPGITEM_ROOT/cmake/mingw-x86_64.cmake
  RPGITEM_DEFAULT_PREFIX=$RPGITEM_ROOT/build/wine-prefix64
  # Wine's own tools (winepath, regedit, ...) start `wine-stable`, which would
  # pick the 32-bit loader: shims make `wine` mean the 64-bit one.
  rpgitem_shims=$RPGITEM_ROOT/build/wine64-bin
  if [ ! -x "$rpgitem_shims/wine-stable" ]; then
    mkdir -p "$rpgitem_shims"
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$rpgitem_shims/$name.$$"
      chmod +x "$rpgitem_shims/$name.$$"
      mv -f "$rpgitem_shims/$name.$$" "$rpgitem_shims/$name"
    done
  fi
  export PATH=$rpgitem_shims:$PATH
fi
export RPGITEM_WINE RPGITEM_WINDOWS_BUILD RPGITEM_TOOLCHAIN
export WINEPREFIX=${RPGITEM_WINEPREFIX:-$RPGITEM_DEFAULT_PREFIX}
export WINEDEBUG=${WINEDEBUG:--all}
# Never offer to download a browser or .NET engine: a prompt would hang a run.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml="}
RPGITEM_TEST_DISPLAY=${RPGITEM_TEST_DISPLAY:-:77}

display_is_up() {
  xdpyinfo -display "$1" >/dev/null 2>&1
}

# Starts Xvfb on $1 unless a server already answers there. Detached with
# setsid and every inherited descriptor closed, so that no caller (ctest, a
# held lock) ends up waiting for it.
ensure_xvfb() {
  local display=$1
  display_is_up "$display" && return 0
  # A descriptor of a lock held by any caller (flock picks its own number)
  # would live on in Xvfb and keep the lock taken: close them all.
  setsid python3 -c 'import os, sys; os.closerange(3, 1024); os.execvp(sys.argv[1], sys.argv[1:])' \
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -ac </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 100); do
    display_is_up "$display" && return 0
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on $display" >&2
  return 1
}

write_prefix_registry() {
  local reg=$WINEPREFIX/rpgitem-fonts.reg
  # regedit reads a .reg file as UTF-16LE with a BOM and CRLF lines.
  {
    printf '\xef\xbb\xbf'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"%s"="%s"\r\n' \
      "微软雅黑" "WenQuanYi Micro Hei" "Microsoft YaHei" "WenQuanYi Micro Hei" \
      "黑体" "WenQuanYi Zen Hei" "SimHei" "WenQuanYi Zen Hei" \
      "宋体" "AR PL UMing CN" "SimSun" "AR PL UMing CN" \
      "仿宋" "AR PL UMing CN" "FangSong" "AR PL UMing CN" \
      "楷体" "AR PL UKai CN" "KaiTi" "AR PL UKai CN" \
      "华文行楷" "AR PL UKai CN" "STXingkai" "AR PL UKai CN"
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
    # Interface fonts without Chinese glyphs fall back to a Chinese face.
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
      printf '"%s"="wqy-microhei.ttc,WenQuanYi Micro Hei"\r\n' "$face"
    done
  } | iconv -f UTF-8 -t UTF-16LE >"$reg"
  "$RPGITEM_WINE" regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
}

# Creates the prefix once: boot, Wine's own fonts copied where GDI+ finds
# them, font replacements, no window manager stalls.
ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.rpgitem-ready" ]; then
    rm -rf "$WINEPREFIX"
    "$RPGITEM_WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    write_prefix_registry 9>&-
    touch "$WINEPREFIX/.rpgitem-ready"
  fi
  exec 9>&-
}

# Starts the Wine server and its system processes ahead of a test run, so
# that none of them is born inside a test and holds the runner's pipes.
start_wine_services() {
  setsid wineserver -p </dev/null >/dev/null 2>&1 &
  setsid "$RPGITEM_WINE" cmd /c exit </dev/null >/dev/null 2>&1
}
