#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need; only what is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    mold  # links the test programs in a fraction of GNU ld's time (docs/building.md)
    lld  # links the agent with its start-up code laid out together (docs/agent.md)
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools qt6-svg-dev libgl-dev
    zlib1g-dev libssl-dev openssl libglib2.0-dev
    libx11-dev x11proto-dev libxtst-dev
    googletest libgtest-dev libgmock-dev
    xvfb openbox xdotool x11-utils dbus dbus-x11 fzf
    weston xwayland  # the Wayland session of the tests (scripts/with-wayland-session.sh)
    x11-xserver-utils  # xhost: the tests, run as root, on the X display of sway run as nobody
    libwayland-dev wayland-protocols  # the agent's own Wayland connection (activation tokens)
    sway foot  # a wlroots desktop for the tests (scripts/with-sway-session.sh), a native window
    wl-clipboard  # another program's clipboard in the sway session's tests
    libglib2.0-bin  # gdbus, used by the agent's end-to-end test
    xclip  # another program taking the clipboard, in korvale-clipboard's test
    fonts-dejavu-core  # windows under Xvfb and offscreen need at least one font
    adwaita-icon-theme  # the icons of programs and file types where the desktop sets no theme
    qt6-translations-l10n  # Qt's own texts (standard buttons, file dialogs) in the user's language
    libpoppler-qt6-dev  # PDF pages in the access window's file preview
    libplist-dev liblz4-dev libsqlite3-dev libical-dev  # bookmarks, address book, calendars
    libedataserver1.2-dev libebook1.2-dev libecal2.0-dev  # EDS's books and calendars (a module)
    evolution-data-server  # the real EDS the address book and calendar tests start on their bus
    radicale  # a real CardDAV and CalDAV server on loopback for those tests
    libqalculate-dev  # the calculator of the answers, in a module of its own (docs/answers.md)
    clang libfuzzer-14-dev libclang-rt-14-dev  # the fuzz targets (scripts/fuzz.sh)
    dpkg-dev file appstream  # the Debian package: cpack -G DEB's dependencies, its metadata check
    gnome-calculator  # a real GNOME Shell search provider, D-Bus activated, in the end-to-end tests
    imagemagick  # import: the window screenshots of docs/ (scripts/activity-screenshots.sh)
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
