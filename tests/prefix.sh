#!/usr/bin/env bash
# Owns the Wine prefix that the tests run in: creates it inside the build tree, keeps every
# folder of it inside the prefix, selects the null graphics driver, and starts or stops its
# persistent wineserver.
# usage: prefix.sh up|down PREFIX_DIR BUILD_DIR win32|win64
set -u
action=$1 prefix=$2 build=$3 arch=${4:-win32}
marker=.tracksweep-test-prefix
. "$(dirname "$0")/../scripts/wine-lib.sh"

case "$prefix" in
  "$build"/*) ;;
  *) echo "prefix.sh: refusing $prefix: not inside the build tree $build" >&2; exit 2;;
esac
if [ -d "$prefix" ] && [ ! -f "$prefix/$marker" ]; then
  echo "prefix.sh: refusing $prefix: it exists but was not made by this harness" >&2; exit 2
fi
tsw_wine_env "$prefix" "$arch"

case "$action" in
  up)
    if [ ! -f "$prefix/$marker" ]; then
      mkdir -p "$prefix"
      touch "$prefix/$marker"
      $WINE wineboot -i >/dev/null 2>&1 </dev/null
      wineserver -w
      if [ ! -d "$prefix/drive_c/windows" ]; then
        echo "prefix.sh: Wine could not set up $prefix ($WINE wineboot failed)" >&2; exit 1
      fi
      $WINE reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
      wineserver -k >/dev/null 2>&1 </dev/null; wineserver -w
    fi
    # Checked at every use: an update of Wine's own setup may link the folders again.
    tsw_seal_prefix "$prefix" --drop-z || exit 1
    # The tests check for this file on C: before they touch anything.
    echo "tracksweep test prefix" > "$prefix/drive_c/tracksweep-test-prefix.txt"
    # Links for the tests that check that nothing follows a link out of its folder: their
    # targets lie in the prefix but outside every drive.
    fixtures="$prefix/drive_c/tsw-links"
    mkdir -p "$fixtures" "$prefix/outside/tree"
    echo "must survive" > "$prefix/outside/tree/precious.txt"
    ln -sfn ../../outside/tree "$fixtures/to-outside"
    mkdir -p "$fixtures/remove-me"
    ln -sfn ../../../outside/tree "$fixtures/remove-me/link"
    # A link a test moves into a walk's way (absolute, so that it leads there from anywhere).
    mkdir -p "$prefix/outside/swapped" "$fixtures/swap"
    echo "must survive" > "$prefix/outside/swapped/precious.txt"
    ln -sfn "$prefix/outside/swapped" "$fixtures/swap/link"
    # The program, the console cleaner, the installer and test helpers, where tests can reach them from C:.
    mkdir -p "$prefix/drive_c/tsw-bin"
    for made in Tsw.exe tswclean.exe Tracksweep-3.20-setup.exe bosswindows.exe fakebrowser.exe; do
      if [ -f "$build/$made" ]; then cp "$build/$made" "$prefix/drive_c/tsw-bin/"; fi
    done
    # Wine runs a Linux program started from C: as itself: the tests make and remove links
    # in their own folders with these (Wine has no call of its own that makes one).
    mkdir -p "$prefix/drive_c/tsw-bin/unix"
    cp /bin/ln "$prefix/drive_c/tsw-bin/unix/ln.exe"
    cp /bin/rm "$prefix/drive_c/tsw-bin/unix/rm.exe"
    # Test data carried in the repository, where the tests can read it (the prefix has no z:).
    mkdir -p "$prefix/drive_c/tsw-data"
    cp "$(dirname "$0")/data/winapp2/Winapp2.ini" "$prefix/drive_c/tsw-data/"
    cp "$(dirname "$0")"/data/browsers/*-schemas.sql "$prefix/drive_c/tsw-data/"
    # A crashing child must end, not wait for a debugger that would hold ctest's pipe open.
    $WINE reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 </dev/null
    # Drives: c:, and d: and e: of the tests' own inside the prefix; no other letter reaches the host.
    mkdir -p "$prefix/drive_d" "$prefix/drive_e" "$XDG_DATA_HOME"
    for link in "$prefix"/dosdevices/*; do
      case "$(basename "$link")" in c:|d:|e:|com*|lpt*|nul) ;; *) rm -f "$link";; esac
    done
    ln -sfn ../drive_d "$prefix/dosdevices/d:"
    ln -sfn ../drive_e "$prefix/dosdevices/e:"
    # A server started by a test would inherit ctest's pipe and hang it: start it here, detached.
    wineserver -p >/dev/null 2>&1 </dev/null &
    # Also the tests' first call of Wine, which waits until the server is up.
    tsw_font_stand_in
    exit 0;;
  down)
    wineserver -k >/dev/null 2>&1 </dev/null
    exit 0;;
  *) echo "usage: prefix.sh up|down PREFIX BUILD win32|win64" >&2; exit 2;;
esac
