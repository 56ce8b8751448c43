#!/usr/bin/env bash
# Builds and runs the folder benchmark in a Wine prefix of its own (build/bench-prefix).
# usage: bench.sh          folder sizing and emptying
#        bench.sh search   Search & Erase's listing
#        bench.sh definitions   loading and detecting a 3,000-entry winapp2.ini
#        bench.sh browsers   cleaning a large Chromium History and Cookies database, then the same
#                            History by tswclean and by BleachBit (installed from Debian for this)
#        bench.sh preview    tswclean --analyze --out, then --from that list, on 20,000 temp files
#                            (PASS when --from takes at most 1.2 times as long as --analyze)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/bench-prefix"
marker=.tracksweep-bench-prefix
bash "$root/scripts/install-deps.sh"
. "$root/scripts/wine-lib.sh"
arch=$(tsw_wine_arch)
target=$(tsw_target_arch "$arch")
tsw_configure "$root" "$root/build" "$target"
cmake --build "$root/build" -j"$(nproc)" --target folder_bench tswclean
if [ -d "$prefix" ] && [ ! -f "$prefix/$marker" ]; then
  echo "bench.sh: $prefix was not made by this script; refusing to touch it." >&2; exit 2
fi
tsw_wine_env "$prefix" "$arch"
log="$root/build/bench.log"
if [ ! -f "$prefix/$marker" ]; then
  mkdir -p "$prefix"; touch "$prefix/$marker"
  $WINE wineboot -i >>"$log" 2>&1 </dev/null; wineserver -w
  # The search benchmark fills a real list box: windows without a display.
  $WINE reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1 </dev/null
  wineserver -k >/dev/null 2>&1 </dev/null; wineserver -w
fi
tsw_seal_prefix "$prefix" --drop-z
wineserver -p >/dev/null 2>&1 </dev/null &
work='C:\tswbench'
out="$root/build/bench-result.txt"
if [ "${1:-}" = search ] || [ "${1:-}" = definitions ] || [ "${1:-}" = browsers ] || [ "${1:-}" = preview ]; then
  real=
  if [ "$1" = browsers ]; then
    # The History is made with the tables a real profile of today's Chromium has.
    awk '/^-- Default\/History$/ {f = 1; next} /^-- / {f = 0} f && !/^CREATE TABLE sqlite_/' \
      "$root/tests/data/browsers/chromium-schemas.sql" > "$prefix/drive_c/tswbench-history.sql"
  fi
  if [ "$1" = definitions ]; then
    # The real file the tests carry, copied where the prefix reaches it.
    cp "$root/tests/data/winapp2/Winapp2.ini" "$prefix/drive_c/tswbench-winapp2.ini"
    real='C:\tswbench-winapp2.ini'
  fi
  if [ "$1" = preview ]; then
    # tswclean itself, in a program folder of the benchmark's own inside the prefix.
    work='C:\tswbench-preview'
    rm -rf "$prefix/drive_c/tswbench-preview" && mkdir -p "$prefix/drive_c/tswbench-preview/prog"
    cp "$root/build/tswclean.exe" "$prefix/drive_c/tswbench-preview/prog/"
  fi
  $WINE "$root/build/folder_bench.exe" "$1" "$work" $real >"$out" 2>>"$log" </dev/null
  if [ "$1" = preview ]; then rm -rf "$prefix/drive_c/tswbench-preview"; fi
  if [ "$1" = browsers ]; then
    WINE="$WINE" bash "$root/scripts/bench-peer.sh" "$root" "$prefix" >>"$out" 2>>"$log" </dev/null || echo "  (the comparison with BleachBit could not run: see $log)" >>"$out"
  fi
  wineserver -k >/dev/null 2>&1 || true
  cat "$out"
  exit 0
fi
rmtree="$prefix/drive_c/tswbench-rm"
rm -rf "$rmtree"
$WINE "$root/build/folder_bench.exe" make-tree 'C:\tswbench-rm' >>"$log" 2>&1 </dev/null
start=$(date +%s.%N); rm -rf "$rmtree"; end=$(date +%s.%N)
rm_seconds=$(echo "$end - $start" | bc -l 2>/dev/null || python3 -c "print($end-$start)")
$WINE "$root/build/folder_bench.exe" run "$work" "$rm_seconds" >"$out" 2>>"$log" </dev/null
wineserver -k >/dev/null 2>&1 || true
cat "$out"
