#!/usr/bin/env bash
# Runs the host-root guard test with Y: of the test prefix mapped to the host's root, for that
# one program only; the mapping goes again however the program ends.
# usage: hostroot-run.sh PREFIX WINE_RUN PROGRAM
set -u
prefix=$1 runner=$2 program=$3
drive="$prefix/dosdevices/y:"
[ -e "$drive" ] || [ -L "$drive" ] && { echo "hostroot-run: $drive exists already" >&2; exit 2; }
trap 'rm -f "$drive"' EXIT
ln -s / "$drive"
bash "$runner" "$program"
