#!/usr/bin/env bash
# The same 100,000-page History cleaned by tswclean (only "Google Chrome History" ticked, the
# whole process under Wine) and by BleachBit's own Chrome history routine with its VACUUM (the
# whole Python process), in turns, nine times each; prints the medians. Called by bench.sh with
# its prefix's environment; installs Debian's bleachbit when it is missing (root only). Then,
# when a real Chromium profile is at hand, the same pair on it with every kind ticked.
# usage: bench-peer.sh ROOT PREFIX
set -euo pipefail
root=$1 prefix=$2
# Debian installs its modules outside Python's path.
export PYTHONPATH=/usr/share/bleachbit
if ! python3 -c 'import bleachbit.Special, bleachbit.FileUtilities' 2>/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then echo "BleachBit is not installed; run as root to install it for this comparison." >&2; exit 1; fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends bleachbit >/dev/null
fi
app="$prefix/drive_c/tswbench-peer"
rm -rf "$app" && mkdir -p "$app"
cp "$root/build/tswclean.exe" "$app/"
profile_win=$($WINE "$root/build/folder_bench.exe" peer-profile 'C:\tswbench-peer' | tr -d '\r' | tail -1)
profile=$($WINE winepath -u "$profile_win" 2>/dev/null | tr -d '\r')
pristine=$(mktemp -d /tmp/tswbench-peer.XXXXXX)
trap 'rm -rf "$pristine"' EXIT
cp "$profile/History" "$profile/Bookmarks" "$pristine/"
peer="$pristine/peer"
mkdir -p "$peer"
now() { date +%s.%N; }
tsw=() bb=()
for i in 1 2 3 4 5 6 7 8 9; do
  cp "$pristine/History" "$profile/History"; rm -f "$profile/History-journal" "$profile/History-wal"
  cp "$pristine/History" "$pristine/Bookmarks" "$peer/"
  sync
  start=$(now); $WINE 'C:\tswbench-peer\tswclean.exe' >/dev/null 2>&1 </dev/null || true; end=$(now)
  tsw+=("$(python3 -c "print($end - $start)")")
  start=$(now)
  python3 -c 'import sys, bleachbit.Special as S, bleachbit.FileUtilities as F
S.delete_chrome_history(sys.argv[1]); F.vacuum_sqlite3(sys.argv[1])' "$peer/History" >/dev/null 2>&1
  end=$(now)
  bb+=("$(python3 -c "print($end - $start)")")
done
left=$(python3 -c 'import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from urls").fetchone()[0])' "$profile/History")
peerleft=$(python3 -c 'import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from urls").fetchone()[0])' "$peer/History")
median() { printf '%s\n' "$@" | sort -g | sed -n 5p; }
printf '\nThe same History (100,000 pages, 300,000 visits, 1,000 bookmarked), whole processes, median of 9\n'
printf '  %-34s %8.3f s   (%s pages left)\n' "tswclean (Google Chrome History)" "$(median "${tsw[@]}")" "$left"
printf '  %-34s %8.3f s   (%s pages left)\n' "BleachBit delete_chrome_history" "$(median "${bb[@]}")" "$peerleft"

# A real profile, when one is at hand (TSW_BENCH_REAL_PROFILE: a Chromium user-data folder with
# a Default profile, such as the collector of tests/data/browsers writes): every kind ticked in
# tswclean against BleachBit's command line with the Chromium options that match them.
real=${TSW_BENCH_REAL_PROFILE:-/work/profiles/chromium}
if [ -d "$real/Default" ]; then
  $WINE "$root/build/folder_bench.exe" peer-profile 'C:\tswbench-peer' all >/dev/null
  rm -rf "$pristine/real" && mkdir -p "$pristine/real"
  cp -a "$real/Default" "$pristine/real/Default"
  [ -f "$real/Local State" ] && cp "$real/Local State" "$pristine/real/"
  home="$pristine/home" options="cache cookies dom form_history history session vacuum"
  tsw=() bb=()
  for i in 1 2 3 4 5 6 7 8 9; do
    rm -rf "$profile" "$home" && cp -a "$pristine/real/Default" "$profile"
    mkdir -p "$home/.config" && cp -a "$pristine/real" "$home/.config/chromium"
    sync
    start=$(now); $WINE 'C:\tswbench-peer\tswclean.exe' >/dev/null 2>&1 </dev/null || true; end=$(now)
    tsw+=("$(python3 -c "print($end - $start)")")
    start=$(now)
    HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
      bleachbit --clean $(for o in $options; do printf 'chromium.%s ' "$o"; done) >/dev/null 2>&1 </dev/null || true
    end=$(now)
    bb+=("$(python3 -c "print($end - $start)")")
  done
  size() { du -sk "$1" | cut -f1; }
  printf '\nA real Chromium profile (%s, %s KB), whole processes, median of 9\n' "$real/Default" "$(size "$pristine/real/Default")"
  printf '  %-34s %8.3f s   (%s KB left)\n' "tswclean (every Google Chrome kind)" "$(median "${tsw[@]}")" "$(size "$profile")"
  printf '  %-34s %8.3f s   (%s KB left)\n' "BleachBit chromium.{${options// /,}}" "$(median "${bb[@]}")" "$(size "$home/.config/chromium/Default")"
fi
rm -rf "$app"
