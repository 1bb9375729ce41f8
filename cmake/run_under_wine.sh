#!/bin/sh
# Runs a Windows program under wine: the emulator of the cross build, through which ctest runs
# the tests. The first argument is the wine prefix, made on first use; the program and its
# arguments follow. Nothing is shown: no display is needed, and wine's own messages are off.
set -eu
prefix="$1"
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine reads the arguments in the locale's character set: UTF-8 keeps every name intact.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  # Tests start at once: one of them makes the prefix, the others wait for it.
  flock "$prefix.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot --init' _ "$wine"
fi
exec "$wine" "$@"
