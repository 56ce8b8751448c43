#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages, when it is missing.
# usage: install-deps.sh [--demo]   (--demo adds what the demo's screenshot needs)
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed'; }
# Both targets: 32-bit for the product, 64-bit for machines that cannot run 32-bit programs.
for p in cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fp-utils nsis googletest xvfb xauth; do
  have_pkg "$p" || need+=("$p")
done
if [ "${1:-}" = "--demo" ]; then
  have_pkg imagemagick || need+=(imagemagick)
fi
[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${need[*]}; run this as root to install them." >&2
  exit 1
fi
echo "Installing: ${need[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
