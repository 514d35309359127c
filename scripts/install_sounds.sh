#!/usr/bin/env bash
# Puts the program's sound cues into the data folder's Sounds/ folder. A file of the same name that
# is already there is the user's own sound and stays as it is.
#   install_sounds.sh <folder of the made sounds> <data folder>
set -euo pipefail
from="$1"
to="$2/Sounds"
mkdir -p "$to"
for f in "$from"/*.wav; do
  [ -f "$f" ] || continue
  dest="$to/$(basename "$f")"
  [ -e "$dest" ] || [ -L "$dest" ] || install -m 0644 "$f" "$dest"
done
