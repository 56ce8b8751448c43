#!/usr/bin/env bash
# Owns the Wine prefix that the tests run in: creates it inside the build tree,
# selects the null graphics driver, and starts or stops its persistent wineserver.
# usage: prefix.sh up|down PREFIX_DIR BUILD_DIR
set -u
action=$1 prefix=$2 build=$3
marker=.tracksweep-test-prefix

case "$prefix" in
  "$build"/*) ;;
  *) echo "prefix.sh: refusing $prefix: not inside the build tree $build" >&2; exit 2;;
esac
if [ -d "$prefix" ] && [ ! -f "$prefix/$marker" ]; then
  echo "prefix.sh: refusing $prefix: it exists but was not made by this harness" >&2; exit 2
fi

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps its Recycle Bin in the XDG trash: keep that inside the prefix too.
export XDG_DATA_HOME=$prefix/xdg-data

case "$action" in
  up)
    if [ ! -f "$prefix/$marker" ]; then
      mkdir -p "$prefix"
      touch "$prefix/$marker"
      wineboot -i >/dev/null 2>&1 </dev/null
      wineserver -w
      wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
      wineserver -k >/dev/null 2>&1 </dev/null; wineserver -w
    fi
    # The tests check for this file on C: before they touch anything.
    echo "tracksweep test prefix" > "$prefix/drive_c/tracksweep-test-prefix.txt"
    # A crashing child must end, not wait for a debugger that would hold ctest's pipe open.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 </dev/null
    # Drives: c: and a d: of the tests' own inside the prefix; no other letter reaches the host.
    mkdir -p "$prefix/drive_d" "$XDG_DATA_HOME"
    for link in "$prefix"/dosdevices/*; do
      case "$(basename "$link")" in c:|d:|z:|com*|lpt*|nul) ;; *) rm -f "$link";; esac
    done
    ln -sfn ../drive_d "$prefix/dosdevices/d:"
    # A server started by a test would inherit ctest's pipe and hang it: start it here, detached.
    wineserver -p >/dev/null 2>&1 </dev/null &
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    exit 0;;
  down)
    wineserver -k >/dev/null 2>&1 </dev/null
    exit 0;;
  *) echo "usage: prefix.sh up|down PREFIX BUILD" >&2; exit 2;;
esac
