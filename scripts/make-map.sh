#!/usr/bin/env bash
# Draws the map of the code (docs/architecture.svg) from docs/architecture.dot with Graphviz,
# installing Debian's graphviz when it is missing, and checks that the layers it shows hold:
# nothing includes a layer above it, and access/, keeplists/ and settings/ hold no loop.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if ! command -v dot >/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then echo "make-map.sh: graphviz is missing; run as root to install it." >&2; exit 1; fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends graphviz >/dev/null
fi
dot -Tsvg "$root/docs/architecture.dot" -o "$root/docs/architecture.svg"
echo "Drawn: docs/architecture.svg"
python3 "$root/scripts/layers.py" "$root"
