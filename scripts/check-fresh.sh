#!/usr/bin/env bash
# Runs the README's two commands as a newcomer would: in a throwaway minimal Debian 12 tree
# (debootstrap --variant=minbase), as root, on a clean clone of the current commit, with nothing
# installed by hand. A machine that already has a package hides a missing install step; this
# tree has none of them. Prints each command's outcome; exits non-zero when either fails.
# usage: check-fresh.sh [--keep] [--dir DIR]
#   --keep     leave the tree (and its log) in place to look inside
#   --dir DIR  make the tree in DIR (default: a new folder under /var/tmp, outside the clone, so
#              that nothing walking the clone meets the mounted /proc, /sys and /dev); DIR must
#              not exist
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
keep=0
tree=""
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1;;
    --dir) tree=$(realpath -m "$2"); shift;;
    *) echo "usage: check-fresh.sh [--keep] [--dir DIR]" >&2; exit 2;;
  esac
  shift
done
if [ "$(id -u)" -ne 0 ]; then
  echo "check-fresh.sh: debootstrap, mount and chroot need root." >&2
  exit 2
fi
command -v git >/dev/null || { echo "check-fresh.sh: git is needed to clone the current commit." >&2; exit 2; }

# The mirror that this machine's own apt sources name for Debian's main archive.
mirror_of_machine() {
  local f uri
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822 stanzas: the URIs of a stanza of Types deb whose Suites holds bookworm itself.
    uri=$(awk 'BEGIN{RS=""; FS="\n"}
      { t=0; s=0; u="";
        for (i=1;i<=NF;i++) {
          if ($i ~ /^Types:.*(^|[ \t])deb([ \t]|$)/) t=1;
          if ($i ~ /^Suites:/ && $i ~ /[ \t]bookworm([ \t]|$)/) s=1;
          if ($i ~ /^URIs:/) { split($i, w, /[ \t]+/); u=w[2] } }
        if (t && s && u != "") { print u; exit } }' "$f")
    if [ -n "$uri" ]; then echo "$uri"; return 0; fi
  done
  if [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1=="deb" && $0 ~ /[ \t]bookworm[ \t]/ { for (i=2;i<=NF;i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' /etc/apt/sources.list)
    if [ -n "$uri" ]; then echo "$uri"; return 0; fi
  fi
  return 1
}
mirror=$(mirror_of_machine) || { echo "check-fresh.sh: no bookworm mirror in this machine's apt sources." >&2; exit 2; }

if ! command -v debootstrap >/dev/null; then
  echo "Installing debootstrap ..."
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

if [ -z "$tree" ]; then
  tree=$(mktemp -d /var/tmp/tracksweep-fresh.XXXXXX)
else
  [ -e "$tree" ] && { echo "check-fresh.sh: $tree exists; give a new folder." >&2; exit 2; }
  mkdir -p "$tree"
fi
log="$tree.log"
: > "$log"

# Everything mounted below the tree, deepest first.
mounts_below() { awk -v t="$tree/" 'index($2 "/", t) == 1 { print $2 }' /proc/mounts | sort -r; }
cleanup() {
  local m
  for m in $(mounts_below); do umount -R "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
  if [ "$keep" = 1 ]; then
    echo "The tree stays in $tree (log: $log)."
  elif [ -n "$(mounts_below)" ]; then
    # Never remove a tree that still reaches the host's /dev, /proc or /sys.
    echo "check-fresh.sh: something is still mounted below $tree; it stays." >&2
  else
    rm -rf --one-file-system "$tree"
    rm -f "$log"
  fi
}
trap cleanup EXIT

echo "Making a minimal Debian 12 tree in $tree from $mirror ..."
start=$(date +%s)
if ! debootstrap --variant=minbase bookworm "$tree" "$mirror" >>"$log" 2>&1; then
  echo "check-fresh.sh: debootstrap failed; see $log" >&2
  keep=1
  exit 1
fi

echo "Cloning the current commit ($(git -C "$root" rev-parse --short HEAD)) into it ..."
git clone -q --no-local --no-hardlinks "$root" "$tree/root/tracksweep"
git -C "$tree/root/tracksweep" checkout -q --detach "$(git -C "$root" rev-parse HEAD)"
rm -rf "$tree/root/tracksweep/.git"

cp -L /etc/resolv.conf "$tree/etc/resolv.conf"
for fs in proc sys dev; do
  mount --rbind "/$fs" "$tree/$fs"
  mount --make-rslave "$tree/$fs"
done

status=0
run_in_tree() {
  local what=$1 t0 rc
  t0=$(date +%s)
  echo "== $what" >>"$log"
  if chroot "$tree" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
       LANG=C.UTF-8 bash -c "cd /root/tracksweep && $what" >>"$log" 2>&1 </dev/null; then
    rc=0
  else
    rc=$?
  fi
  printf '%-24s %s (%d s)\n' "$what" "$([ $rc = 0 ] && echo passed || echo "FAILED, exit $rc")" $(( $(date +%s) - t0 ))
  return $rc
}
run_in_tree "bash scripts/test.sh" || status=1
run_in_tree "bash scripts/run.sh" || status=1
if [ ! -s "$tree/root/tracksweep/docs/screenshot.png" ]; then
  echo "run.sh wrote no screenshot" >&2
  status=1
fi
echo "All in $(( $(date +%s) - start )) s."
if [ $status -ne 0 ]; then
  echo "A command failed in the fresh tree; the end of its log ($log):" >&2
  tail -40 "$log" >&2
  keep=1
fi
exit $status
