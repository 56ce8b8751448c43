#!/usr/bin/env bash
# Builds and runs the folder benchmark in a Wine prefix of its own (build/bench-prefix).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/bench-prefix"
marker=.tracksweep-bench-prefix
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target folder_bench
if [ -d "$prefix" ] && [ ! -f "$prefix/$marker" ]; then
  echo "bench.sh: $prefix was not made by this script; refusing to touch it." >&2; exit 2
fi
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps its Recycle Bin in the XDG trash: keep that inside the prefix, away from the host's.
export XDG_DATA_HOME="$prefix/xdg-data"
log="$root/build/bench.log"
if [ ! -f "$prefix/$marker" ]; then
  mkdir -p "$prefix"; touch "$prefix/$marker"
  wineboot -i >>"$log" 2>&1 </dev/null; wineserver -w
fi
wineserver -p >/dev/null 2>&1 </dev/null &
work='C:\tswbench'
rmtree="$prefix/drive_c/tswbench-rm"
rm -rf "$rmtree"
wine "$root/build/folder_bench.exe" make-tree 'C:\tswbench-rm' >>"$log" 2>&1 </dev/null
start=$(date +%s.%N); rm -rf "$rmtree"; end=$(date +%s.%N)
rm_seconds=$(echo "$end - $start" | bc -l 2>/dev/null || python3 -c "print($end-$start)")
out="$root/build/bench-result.txt"
wine "$root/build/folder_bench.exe" run "$work" "$rm_seconds" >"$out" 2>>"$log" </dev/null
wineserver -k >/dev/null 2>&1 || true
cat "$out"
