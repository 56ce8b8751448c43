# Shell functions shared by the scripts that make and use the project's own Wine prefixes
# (tests, demo, benchmark). Source it; it changes nothing by itself.

# win32 when this machine can run 32-bit programs, else win64. Some kernels are built or
# booted without 32-bit support; there the tests and the demo run a 64-bit build under the
# 64-bit Wine instead.
tsw_wine_arch() {
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}

# The MinGW target that matches a Wine architecture.
tsw_target_arch() { [ "$1" = win32 ] && echo i686 || echo x86_64; }

# Exports what every Wine call for PREFIX needs and sets WINE to the loader to call.
# usage: tsw_wine_env PREFIX ARCH
tsw_wine_env() {
  export WINEPREFIX="$1" WINEARCH="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine keeps its Recycle Bin in the XDG trash: keep that inside the prefix too.
  export XDG_DATA_HOME="$1/xdg-data"
  if [ "$2" = win64 ]; then
    # Straight to the 64-bit loader: the wrapper would first try the 32-bit one.
    WINE=/usr/lib/wine/wine64
    export WINELOADER=$WINE
  else
    WINE=wine
    unset WINELOADER
  fi
}

# A new prefix links the user's Desktop, Documents, Downloads, Music, Pictures, Videos and
# Templates to the Linux home folder: replace every link below drive_c/users with a real folder
# of the prefix, so that nothing a program erases there reaches the host. With --drop-z the
# z: drive (the whole Linux file system) goes as well.
# usage: tsw_seal_prefix PREFIX [--drop-z]
tsw_seal_prefix() {
  local prefix=$1 link
  # Deepest first, so that a link inside a linked folder is never reached through it.
  find "$prefix/drive_c/users" -depth -type l 2>/dev/null | while IFS= read -r link; do
    rm -f "$link" && mkdir -p "$link"
  done
  if [ "${2:-}" = --drop-z ]; then rm -f "$prefix/dosdevices/z:"; fi
  tsw_check_sealed "$prefix"
}

# Fails, saying why, when any folder below drive_c/users is a link.
tsw_check_sealed() {
  local links
  links=$(find "$1/drive_c/users" -type l 2>/dev/null | head -5)
  if [ -n "$links" ]; then
    echo "refusing: links below $1/drive_c/users lead outside the prefix:" >&2
    echo "$links" >&2
    return 1
  fi
  return 0
}

# Configures the build tree for a MinGW target (i686 or x86_64); a tree set up for the other
# target is started afresh.
# usage: tsw_configure SOURCE BUILD TARGET [cmake options...]
tsw_configure() {
  local source=$1 build=$2 target=$3
  shift 3
  if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^TSW_ARCH:STRING=$target\$" "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
  cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTSW_ARCH="$target" "$@" >/dev/null
}

# Windows draws the program in Segoe UI, which Wine lacks; left to itself Wine picks whatever
# face this machine's fonts offer, and the texts measured would differ from machine to machine.
# DejaVu Sans (installed by install-deps.sh) stands in: somewhat wider than Segoe UI, so a text
# that fits here fits on Windows.
# usage: tsw_font_stand_in   (after tsw_wine_env)
tsw_font_stand_in() {
  $WINE reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d 'DejaVu Sans' /f >/dev/null 2>&1 </dev/null
}
