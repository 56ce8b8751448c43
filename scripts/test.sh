#!/usr/bin/env bash
# Installs what is missing, builds Tracksweep and its tests, and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
. "$root/scripts/wine-lib.sh"
arch=$(tsw_target_arch "$(tsw_wine_arch)")
[ "$arch" = i686 ] && other=x86_64 || other=i686
build="$root/build"
if [ "$arch" != i686 ]; then
  echo "32-bit programs cannot run here: the tests run a 64-bit build; the 32-bit one is built for the packages."
fi
# The other target's programs first: the installer and the zip carry both.
tsw_configure "$root" "$build/$other" "$other" -DTSW_TESTS=OFF
cmake --build "$build/$other" -j"$(nproc)" --target Tsw tswclean
tsw_configure "$root" "$build" "$arch" -DTSW_OTHER_TREE="$build/$other"
cmake --build "$build" -j"$(nproc)"
cmake --build "$build" --target package >/dev/null
cd "$build"
ctest --output-on-failure
