#!/bin/sh
# Regenerates the data in tests/data/browsers/ (Debian 12, as root):
#   apt-get install chromium firefox-esr sqlite3 python3-plyvel
# Profiles, downloads and the scratch HOME go to /work/profiles; the collector writes ../ .
set -e
W=/work/profiles
C=$(cd "$(dirname "$0")" && pwd)
mkdir -p $W/home $W/downloads-chromium $W/downloads-firefox $W/downloads-chromium-live $W/downloads-firefox-live
cp $C/*.py $C/notes-*.txt $W/
export HOME=$W/home XDG_CONFIG_HOME=$W/home/.config XDG_CACHE_HOME=$W/home/.cache
/usr/bin/python3 $W/server.py 8765 & SERVER=$!
sleep 1
# Chromium: one run for the data, one snapshotted while running
chromium --headless=new --user-data-dir=$W/chromium --no-sandbox --remote-debugging-port=9333 --no-first-run about:blank >$W/chromium.out 2>&1 &
DBGPORT=9333 /usr/bin/python3 $W/cdp.py; wait $! || true
chromium --headless=new --user-data-dir=$W/chromium-live --no-sandbox --remote-debugging-port=9335 --no-first-run about:blank >$W/chromium-live.out 2>&1 &
DBGPORT=9335 DLDIR=$W/downloads-chromium-live SNAPSHOT_CMD="/usr/bin/python3 $W/snapshot.py $W/chromium-live $W/live-chromium.json" /usr/bin/python3 $W/cdp.py; wait $! || true
# Firefox: same, driven over WebDriver BiDi
mkdir -p $W/firefox $W/firefox-live
cp $C/firefox-user.js $W/firefox/user.js
sed 's#downloads-firefox#downloads-firefox-live#' $C/firefox-user.js > $W/firefox-live/user.js
firefox-esr --headless --profile $W/firefox --no-remote --remote-debugging-port 9334 >$W/firefox.out 2>&1 &
/usr/bin/python3 $W/bidi.py; wait $! || true
firefox-esr --headless --profile $W/firefox-live --no-remote --remote-debugging-port 9334 >$W/firefox-live.out 2>&1 &
SNAPSHOT_CMD="/usr/bin/python3 $W/snapshot.py $W/firefox-live $W/live-firefox.json" /usr/bin/python3 $W/bidi.py; wait $! || true
kill $SERVER
sed -i "s#^OUT = .*#OUT = '$(dirname "$C")'#" $W/collect.py
/usr/bin/python3 $W/collect.py
