#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages, when it is missing; then,
# from Debian's source packages, makes SQLite's amalgamation and unpacks LevelDB and Snappy, and
# puts the JSON library's headers where the MinGW compilers see them and nothing else of
# /usr/include (all in build/deps).
# usage: install-deps.sh [--demo]   (--demo adds what the demo's screenshots need)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed'; }
# Both targets: 32-bit for the product, 64-bit for machines that cannot run 32-bit programs.
# gcc with libc6-dev (a host compiler that can link), tcl and xz-utils make SQLite's amalgamation;
# nlohmann-json3-dev is the JSON library; patch applies Debian's patches to LevelDB and Snappy;
# fonts-dejavu-core gives the prefixes a known face in place of Segoe UI.
for p in cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fp-utils nsis googletest \
         xvfb xauth gcc libc6-dev tcl xz-utils nlohmann-json3-dev patch fonts-dejavu-core; do
  have_pkg "$p" || need+=("$p")
done
if [ "${1:-}" = "--demo" ]; then
  # The screenshots: ImageMagick takes them, xdotool presses the keys that open each window.
  for p in imagemagick xdotool; do have_pkg "$p" || need+=("$p"); done
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

# Debian's source packages come through an apt configuration of our own: deb-src lines made from
# the machine's sources, which stay untouched. Its lists are fetched once per run of this script.
apt="$deps/apt"
aptopts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt/parts" -o Dir::State::Lists="$apt/lists")
source_lists_ready=0
# Downloads the source package NAME (its .dsc and tarballs) into $deps/src.
fetch_source() {
  if [ $source_lists_ready = 0 ]; then
    mkdir -p "$apt/lists/partial" "$apt/parts" "$deps/src"
    : > "$apt/parts/src.sources"
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" >> "$apt/parts/src.sources" && echo >> "$apt/parts/src.sources"
    done
    rm -f "$apt/parts/src.list"
    if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > "$apt/parts/src.list"
    fi
    apt-get "${aptopts[@]}" update -qq
    source_lists_ready=1
  fi
  (cd "$deps/src" && apt-get "${aptopts[@]}" source --download-only -qq "$1")
}
# Unpacks the upstream tarball of the fetched source package NAME into DEST (made afresh).
unpack_upstream() {
  local tarball
  tarball=$(ls "$deps/src/$1"_*.orig.tar.* | head -1)
  rm -rf "$2" && mkdir -p "$2"
  tar -xf "$tarball" -C "$2" --strip-components=1
}
# Applies Debian's patches of the fetched source package NAME to the upstream tree DEST, in the
# order of their series (Snappy's make it build with GCC's inlining rules).
apply_debian_patches() {
  local tarball work name level
  tarball=$(ls "$deps/src/$1"_*.debian.tar.* | head -1)
  work="$deps/src/$1-debian"
  rm -rf "$work" && mkdir -p "$work"
  tar -xf "$tarball" -C "$work"
  if [ -f "$work/debian/patches/series" ]; then
    sed 's/#.*//' "$work/debian/patches/series" | while read -r name level; do
      [ -n "$name" ] || continue
      patch -d "$2" -s -N "${level:--p1}" < "$work/debian/patches/$name"
    done
  fi
  rm -rf "$work"
}

# SQLite: its amalgamation made once from the source package; each MinGW target compiles it.
if [ ! -f "$deps/sqlite3/sqlite3.c" ]; then
  echo "Making SQLite's amalgamation from Debian's source package sqlite3 ..."
  fetch_source sqlite3
  unpack_upstream sqlite3 "$deps/src/tree"
  mkdir -p "$deps/src/make"
  (cd "$deps/src/make" && ../tree/configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
  mkdir -p "$deps/sqlite3"
  cp "$deps/src/make/sqlite3.c" "$deps/src/make/sqlite3.h" "$deps/sqlite3/"
  rm -rf "$deps/src/tree" "$deps/src/make"
fi

# LevelDB and Snappy (Chromium's stores): their trees as Debian builds them, compiled by each
# MinGW target with the project's own CMake rules. Made in a folder of their own that is renamed
# into place last, so that an interrupted run starts again.
for pkg in leveldb snappy; do
  if [ ! -d "$deps/$pkg" ]; then
    echo "Unpacking Debian's source package $pkg ..."
    fetch_source "$pkg"
    unpack_upstream "$pkg" "$deps/$pkg.new"
    apply_debian_patches "$pkg" "$deps/$pkg.new"
    mv "$deps/$pkg.new" "$deps/$pkg"
  fi
done
