#!/usr/bin/env bash
# Installs what is missing, builds, installs the program into its data folder and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
bash scripts/build.sh -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=OFF
data="${XDG_DATA_HOME:-$HOME/.local/share}/TolvaneRerodeII"
mkdir -p "$data"
chmod 700 "$data"
for f in TolvaneRerodeII Renewlet libTolvaneRerodeIE.so TolvaneRerodeIE; do
  [ -f "build/bin/$f" ] && install -m 0755 "build/bin/$f" "$data/$f"
done
# The Auto Run command's two autostart entries (the desktop starts the program at log-in).
mkdir -p "$data/Startup"
for mode in Norm Min; do
  extra=""
  [ "$mode" = Min ] && extra=" /MINIMIZED"
  printf '[Desktop Entry]\nType=Application\nName=Tolvane Rerode II\nExec="%s"%s\nX-GNOME-Autostart-enabled=true\n' \
    "$data/TolvaneRerodeII" "$extra" > "$data/Startup/TL2Startup$mode.desktop"
done
exec "$data/TolvaneRerodeII" "$@"
