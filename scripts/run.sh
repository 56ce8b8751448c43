#!/usr/bin/env bash
# Installs what is missing, builds Tracksweep and starts it in a demo Wine prefix of its own,
# seeded with a few sample tracks and two browsers' profiles. Without an X display it runs under
# Xvfb, takes screenshots of the main window, More Browsers and Analyze (each opened from the
# keyboard, as a user can) for the README, and stops.
# usage: run.sh [--prefix DIR]   (default: build/demo-prefix; it must be one this script made)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/demo-prefix"
if [ "${1:-}" = "--prefix" ]; then prefix=$(realpath -m "$2"); fi
marker=.tracksweep-demo-prefix

bash "$root/scripts/install-deps.sh" --demo
. "$root/scripts/wine-lib.sh"
arch=$(tsw_wine_arch)
target=$(tsw_target_arch "$arch")
if [ "$arch" = win64 ]; then
  echo "32-bit programs cannot run on this machine: the demo runs a 64-bit build of Tsw.exe."
fi
tsw_configure "$root" "$root/build" "$target"
cmake --build "$root/build" -j"$(nproc)" --target Tsw

if [ -d "$prefix" ] && [ ! -f "$prefix/$marker" ]; then
  echo "run.sh: $prefix exists and is not a Tracksweep demo prefix; refusing to touch it." >&2
  exit 2
fi
tsw_wine_env "$prefix" "$arch"

# Everything Wine starts inherits our output: keep it off any pipe.
log="$root/build/demo.log"
wine_quiet() { $WINE "$@" >>"$log" 2>&1 </dev/null; }

if [ ! -f "$prefix/$marker" ]; then
  echo "Creating the demo prefix in $prefix ..."
  mkdir -p "$prefix"
  touch "$prefix/$marker"
  $WINE wineboot -i >>"$log" 2>&1 </dev/null
  wineserver -w
fi
# The screenshots show the face the tests measured.
tsw_font_stand_in
# The samples and the program erase only inside the prefix: no link to the home folder, no z:.
tsw_seal_prefix "$prefix" --drop-z

program="$prefix/drive_c/Tracksweep"
mkdir -p "$program"
cp "$root/build/Tsw.exe" "$root/build/help.chm" "$program/"
cp -r "$root/build/Skinz" "$program/"

# Sample tracks: temporary files, Run and Search histories, typed URLs, WordPad's recent files.
temp_win=$($WINE cmd /c 'echo %TEMP%' 2>/dev/null </dev/null | tr -d '\r')
temp_unix=$($WINE winepath -u "$temp_win" 2>/dev/null </dev/null)
mkdir -p "$temp_unix"
for i in 1 2 3; do head -c $((i * 40000)) /dev/zero > "$temp_unix/tracksweep-sample-$i.tmp"; done
explorer='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
wine_quiet reg add "$explorer\\RunMRU" /v a /d 'notepad\1' /f
wine_quiet reg add "$explorer\\RunMRU" /v b /d 'regedit\1' /f
wine_quiet reg add "$explorer\\RunMRU" /v MRUList /d ba /f
wine_quiet reg add "$explorer\\Doc Find Spec MRU" /v a /d 'holiday photos' /f
wine_quiet reg add 'HKCU\Software\Microsoft\Internet Explorer\TypedURLs' /v url1 /d 'http://www.example.com/' /f
wine_quiet reg add 'HKCU\Software\Microsoft\Internet Explorer\TypedURLs' /v url2 /d 'http://www.example.org/news' /f
wine_quiet reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Applets\Wordpad\Recent File List' /v 'File1' /d 'C:\letters\bank.doc' /f
# Two of today's browsers, found as a user's would be: a Chromium profile and a Firefox one, with
# some of their kinds ticked.
local_unix=$($WINE winepath -u "$($WINE cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null </dev/null | tr -d '\r')" 2>/dev/null </dev/null)
roaming_unix=$($WINE winepath -u "$($WINE cmd /c 'echo %APPDATA%' 2>/dev/null </dev/null | tr -d '\r')" 2>/dev/null </dev/null)
mkdir -p "$local_unix/Google/Chrome/User Data/Default" "$roaming_unix/Mozilla/Firefox/Profiles/demo.default-release"
echo '{}' > "$local_unix/Google/Chrome/User Data/Default/Preferences"
printf '[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/demo.default-release\r\nDefault=1\r\n' \
  > "$roaming_unix/Mozilla/Firefox/profiles.ini"
if [ ! -f "$program/prisd.dat" ]; then
  printf '[MOREBROWSERS]\r\nGoogle Chrome History=1\r\nGoogle Chrome Cookies=1\r\nGoogle Chrome Cache=1\r\nFirefox History=1\r\nFirefox Cache=1\r\n' \
    > "$program/prisd.dat"
fi

start_program() { $WINE explorer /desktop=Tracksweep,1024x768 'C:\Tracksweep\Tsw.exe' >>"$log" 2>&1 </dev/null; }

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Tsw.exe in $prefix (program folder C:\\Tracksweep) ..."
  start_program
  wineserver -w
else
  shot="$root/docs/screenshot.png"
  mkdir -p "$root/docs"
  echo "No X display: running under Xvfb to take the screenshots ..."
  export log shot WINE
  # The main window; then More Browsers (Alt+B) and, from CLEAN NOW (Alt+N), Analyze (Alt+A).
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    $WINE explorer /desktop=Tracksweep,1024x768 "C:\\Tracksweep\\Tsw.exe" >>"$log" 2>&1 </dev/null &
    sleep 12
    xdotool mousemove 512 384
    import -window root "$shot"
    xdotool key alt+b; sleep 3
    import -window root "${shot%.png}-browsers.png"
    xdotool key Escape; sleep 1
    xdotool key alt+n; sleep 3
    xdotool key alt+a; sleep 6
    import -window root "${shot%.png}-analyze.png"
    wineserver -k
  ' >>"$log" 2>&1 </dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  if [ -s "$shot" ]; then
    echo "Screenshots: $shot, ${shot%.png}-browsers.png, ${shot%.png}-analyze.png"
  else
    echo "No screenshot was taken; see $log" >&2
    exit 1
  fi
fi
