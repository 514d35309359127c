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
# The sound cues; a file of the same name already there is the user's own sound and stays.
bash scripts/install_sounds.sh build/bin/Sounds "$data"
# The help page the Help menu and F1 open.
install -D -m 0644 help/TLIIHelp.Htm "$data/Help/TLIIHelp.Htm"
# The launcher in the desktop's application menu, and the program's picture.
share="${XDG_DATA_HOME:-$HOME/.local/share}"
install -D -m 0644 src/mainwindow/icons/tolvane-rerode-ii.svg "$share/icons/hicolor/scalable/apps/tolvane-rerode-ii.svg"
touch "$share/icons/hicolor"  # tells the desktop's icon cache to look again
mkdir -p "$share/applications"
printf '[Desktop Entry]\nType=Application\nName=Tolvane Rerode II\nGenericName=Auction Sniper\nComment=Bids on your eBay auction items seconds before they end\nExec="%s"\nIcon=tolvane-rerode-ii\nTerminal=false\nCategories=Network;Office;\nStartupWMClass=TolvaneRerodeII\n' \
  "$data/TolvaneRerodeII" > "$share/applications/tolvane-rerode-ii.desktop"
if command -v update-desktop-database > /dev/null; then update-desktop-database -q "$share/applications" || true; fi
# The Auto Run command's two autostart entries (the desktop starts the program at log-in).
mkdir -p "$data/Startup"
for mode in Norm Min; do
  extra=""
  [ "$mode" = Min ] && extra=" /MINIMIZED"
  printf '[Desktop Entry]\nType=Application\nName=Tolvane Rerode II\nExec="%s"%s\nIcon=tolvane-rerode-ii\nX-GNOME-Autostart-enabled=true\n' \
    "$data/TolvaneRerodeII" "$extra" > "$data/Startup/TL2Startup$mode.desktop"
done
exec "$data/TolvaneRerodeII" "$@"
