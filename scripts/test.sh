#!/usr/bin/env bash
# Installs what is missing, builds Tracksweep and its tests, and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
. "$root/scripts/wine-lib.sh"
arch=$(tsw_target_arch "$(tsw_wine_arch)")
build="$root/build"
tsw_configure "$root" "$build" "$arch"
cmake --build "$build" -j"$(nproc)"
if [ "$arch" != i686 ]; then
  # This machine runs the tests as 64-bit programs; the product itself must still build.
  echo "32-bit programs cannot run here: the tests run a 64-bit build; building the 32-bit release package too."
  tsw_configure "$root" "$build/i686" i686 -DTSW_TESTS=OFF
  cmake --build "$build/i686" -j"$(nproc)" --target package
fi
cd "$build"
ctest --output-on-failure
