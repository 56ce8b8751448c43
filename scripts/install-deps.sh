#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages, when it is missing; then
# makes SQLite's amalgamation from Debian's source package and puts the JSON library's headers
# where the MinGW compilers see them and nothing else of /usr/include (both in build/deps).
# usage: install-deps.sh [--demo]   (--demo adds what the demo's screenshot needs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed'; }
# Both targets: 32-bit for the product, 64-bit for machines that cannot run 32-bit programs.
# gcc with libc6-dev (a host compiler that can link), tcl and xz-utils make SQLite's amalgamation;
# nlohmann-json3-dev is the JSON library.
for p in cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fp-utils nsis googletest \
         xvfb xauth gcc libc6-dev tcl xz-utils nlohmann-json3-dev; do
  have_pkg "$p" || need+=("$p")
done
if [ "${1:-}" = "--demo" ]; then
  have_pkg imagemagick || need+=(imagemagick)
fi
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${need[*]}; run this as root to install them." >&2
    exit 1
  fi
  echo "Installing: ${need[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The JSON library is header-only: its own folder only, never the host's whole include tree.
if [ ! -f "$deps/json/nlohmann/json.hpp" ]; then
  mkdir -p "$deps/json"
  cp -r /usr/include/nlohmann "$deps/json/"
fi

# SQLite: the source package through an apt configuration of our own (deb-src lines beside the
# machine's, which stay untouched), its amalgamation made once; each MinGW target compiles it.
if [ ! -f "$deps/sqlite3/sqlite3.c" ]; then
  echo "Making SQLite's amalgamation from Debian's source package sqlite3 ..."
  apt="$deps/apt"
  mkdir -p "$apt/lists/partial" "$deps/src"
  : > "$apt/src.sources"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" >> "$apt/src.sources" && echo >> "$apt/src.sources"
  done
  aptopts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt/parts" -o Dir::State::Lists="$apt/lists")
  mkdir -p "$apt/parts"
  cp "$apt/src.sources" "$apt/parts/src.sources"
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > "$apt/parts/src.list"
  fi
  apt-get "${aptopts[@]}" update -qq
  (cd "$deps/src" && apt-get "${aptopts[@]}" source --download-only -qq sqlite3)
  tarball=$(ls "$deps/src"/sqlite3_*.orig.tar.* | head -1)
  rm -rf "$deps/src/tree" && mkdir -p "$deps/src/tree"
  tar -xf "$tarball" -C "$deps/src/tree" --strip-components=1
  mkdir -p "$deps/src/make"
  (cd "$deps/src/make" && ../tree/configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
  mkdir -p "$deps/sqlite3"
  cp "$deps/src/make/sqlite3.c" "$deps/src/make/sqlite3.h" "$deps/sqlite3/"
  rm -rf "$deps/src/tree" "$deps/src/make"
fi
