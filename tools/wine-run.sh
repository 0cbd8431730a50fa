#!/usr/bin/env bash
# Runs a Windows program under Wine in a private 32-bit prefix (never ~/.wine).
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# CORVANE_WINVER chooses the Windows version that Wine reports (winxp by default).
# Runs in one prefix are serialised: the version is a setting of the whole prefix.
set -euo pipefail

prefix=$1
shift
# The recycle bin of Wine lives in XDG_DATA_HOME: the prefix keeps its own.
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all} LANG=zh_CN.UTF-8 XDG_DATA_HOME=$prefix/xdg-data
unset LC_ALL
winver=${CORVANE_WINVER:-winxp}

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9

if [ ! -f "$prefix/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# Windows not managed by an X window manager: under Xvfb there is none, and Wine would
# wait two seconds for it each time a visible window is hidden or destroyed.
if [ ! -f "$prefix/corvane-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    touch "$prefix/corvane-unmanaged"
fi
mkdir -p "$XDG_DATA_HOME"
if [ "$(cat "$prefix/corvane-winver" 2>/dev/null)" != "$winver" ]; then
    wine reg add 'HKCU\Software\Wine' /v Version /d "$winver" /f >/dev/null 2>&1
    echo "$winver" >"$prefix/corvane-winver"
fi

wine "$@"
