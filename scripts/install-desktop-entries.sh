#!/usr/bin/env bash
# Puts the manager and the agent in the desktop's own launcher: their desktop entries, pointing at
# the programs of a build folder, in the user's applications folder, and the suite's icon in the
# user's icon theme, and the agent's search provider and runner where the desktop's search finds
# them (KRunner reads the user's folder; GNOME Shell only the folders of XDG_DATA_DIRS, see
# docs/search-providers.md). Run again after moving the build folder.
# Usage: scripts/install-desktop-entries.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build}/bin" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$data/applications" "$data/icons/hicolor/scalable/apps"
cp manager/korvale.svg "$data/icons/hicolor/scalable/apps/korvale.svg"

# Exec quoting of the desktop entry format: the path in double quotes, with \ " ` $ escaped,
# and a literal % doubled (a single one would start a field code).
quoted() {
    local path=$1
    path=${path//%/%%}
    path=${path//\\/\\\\\\\\}
    path=${path//\"/\\\\\"}
    path=${path//\`/\\\\\`}
    path=${path//\$/\\\\\$}
    printf '"%s"' "$path"
}

cat >"$data/applications/korvale-manager.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Korvale
GenericName=Launcher and Organiser
GenericName[fr]=Lanceur et organiseur
Comment=Keep your applications, files, notes and clipboard one double tap away
Comment[fr]=Vos applications, fichiers, notes et presse-papiers à une double frappe
Exec=$(quoted "$bin/korvale-manager")
Icon=korvale
Terminal=false
Categories=Utility;Core;
Keywords=launcher;search;notes;clipboard;
StartupNotify=true
ENTRY

# The agent's entry is named after the application id it gives the desktop portal, its bus name
# (docs/platform.md); the name older versions used goes.
rm -f "$data/applications/korvale-daemon.desktop"
cat >"$data/applications/org.korvale.Daemon.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Korvale Agent
Name[fr]=Agent Korvale
Comment=Opens the access window on a double tap of the Super key
Comment[fr]=Ouvre la fenêtre d’accès sur une double frappe de la touche Super
Exec=$(quoted "$bin/korvale-daemon")
Icon=korvale
Terminal=false
NoDisplay=true
Categories=Utility;
ENTRY
mkdir -p "$data/gnome-shell/search-providers" "$data/krunner/dbusplugins"
cp packaging/korvale-search-provider.ini "$data/gnome-shell/search-providers/"
cp packaging/korvale-runner.desktop "$data/krunner/dbusplugins/"
echo "Desktop entries installed in $data/applications (korvale-manager.desktop, org.korvale.Daemon.desktop)."
echo "Search provider and runner installed in $data/gnome-shell/search-providers and $data/krunner/dbusplugins."
