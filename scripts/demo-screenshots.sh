#!/usr/bin/env bash
# Takes a screenshot of every window of the suite, in English and in French, from a clean
# demonstration home (made-up notes, tasks, reminders, applications and files of a user "sam"),
# into docs/screens/LANG/, and the manager's tour pictures into manager/tour/LANG/.
# Usage: scripts/demo-screenshots.sh [LANG...]      (default: en fr; BUILD defaults to build-test)
# Run as root, the home is /home/sam on a private tmpfs (nothing of the real /home is touched),
# so that no picture shows a test session's temporary folder; otherwise it lies in the session's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build-test}
export BUILD=$build

case "${KORVALE_DEMO_STAGE:-}" in
"")
    # A private view of /home where the demonstration user lives.
    if [ "$(id -u)" = 0 ] && unshare -m --propagation private true 2>/dev/null; then
        exec env KORVALE_DEMO_STAGE=home unshare -m --propagation private "$0" "$@"
    fi
    exec env KORVALE_DEMO_STAGE=session "$root/scripts/with-session.sh" "$0" "$@"
    ;;
home)
    mount -t tmpfs -o mode=755 demo-home /home
    mkdir -p /home/sam
    exec env KORVALE_DEMO_STAGE=session KORVALE_DEMO_HOME=/home/sam \
        "$root/scripts/with-session.sh" "$0" "$@"
    ;;
esac

bin="$root/$build/bin"
languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=(en fr)
demo_home=${KORVALE_DEMO_HOME:-$HOME/sam}
pids=()
stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    pids=()
}
trap stop_all EXIT

# A quiet desktop colour rather than Xvfb's black.
convert -size 8x8 xc:'#4a6578' "$XDG_RUNTIME_DIR/desktop.png"
display -window root "$XDG_RUNTIME_DIR/desktop.png" || true

# Waits (up to 20 s) until the command succeeds.
wait_until() {
    for _ in $(seq 100); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.2
    done
    echo "demo-screenshots: gave up waiting for: $*" >&2
    return 1
}

agent_state() {
    gdbus call --session --dest org.korvale.Daemon --object-path /org/korvale/AccessWindow \
        --method org.korvale.AccessWindow.State 2>/dev/null
}
access_visible() { agent_state | grep -q "'visible': <true>"; }
access_hidden() { agent_state | grep -q "'visible': <false>"; }

# A window title as a pattern xdotool matches: it compares bytes of WM_NAME, where the letters
# beyond ASCII are not what the title's UTF-8 has.
title_pattern() { printf '^%s$' "$1" | LC_ALL=C sed -E 's/[\x80-\xff]+/.*/g'; }

# The visible windows of a process whose title matches (all of them for '.').
windows_of() { xdotool search --all --onlyvisible --pid "$1" --name "${2:-.}" 2>/dev/null || true; }

# A picture kept small: 256 colours are plenty for widgets.
keep() {
    mkdir -p "$(dirname "$2")"
    convert "$1" -strip -colors 256 "PNG8:$2"
    rm -f "$1"
}

# The screen cut to the windows given, frameless ones (the agent's), with a margin, saved as $1.
shot_of_windows() {
    local out=$1
    shift
    local left=100000 top=100000 right=0 bottom=0
    for w in "$@"; do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        ((X - 8 < left)) && left=$((X - 8))
        ((Y - 8 < top)) && top=$((Y - 8))
        ((X + WIDTH + 8 > right)) && right=$((X + WIDTH + 8))
        ((Y + HEIGHT + 8 > bottom)) && bottom=$((Y + HEIGHT + 8))
    done
    ((left < 0)) && left=0
    ((top < 0)) && top=0
    import -window root "$demo_home/.shot.png"
    convert "$demo_home/.shot.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        "$demo_home/.cut.png"
    rm -f "$demo_home/.shot.png"
    keep "$demo_home/.cut.png" "$out"
}

# One window with its title bar and borders (the window manager's frame extents), saved as $1.
shot_of_window() {
    local extents left right top bottom
    extents=$(xprop -id "$2" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')
    IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
    # xwininfo, not xdotool: the latter counts the frame twice in a reparented window's place.
    local info X Y WIDTH HEIGHT
    info=$(xwininfo -id "$2")
    X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
    HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
    import -window root "$demo_home/.shot.png"
    convert "$demo_home/.shot.png" \
        -crop "$((WIDTH + left + right))x$((HEIGHT + top + bottom))+$((X - left))+$((Y - top))" \
        +repage "$demo_home/.cut.png"
    rm -f "$demo_home/.shot.png"
    keep "$demo_home/.cut.png" "$1"
}

# The whole screen, for windows placed against each other.
shot_of_screen() {
    import -window root "$demo_home/.shot.png"
    keep "$demo_home/.shot.png" "$1"
}

# Quotes for the stock entries, served on loopback; its port in $quotes_port.
start_quote_server() {
    rm -f "$XDG_RUNTIME_DIR/quotes.port"
    python3 -u -c '
import http.server
QUOTES = {"/ferries": b"BRF,38.20,20261210\r\n", "/garden": b"GSL,12.75,20261210\r\n"}
class Quotes(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = QUOTES.get(self.path)
        self.send_response(200 if body else 404)
        self.send_header("Content-Type", "text/plain")
        self.end_headers()
        self.wfile.write(body or b"")
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Quotes)
print(server.server_port)
server.serve_forever()' >"$XDG_RUNTIME_DIR/quotes.port" 2>/dev/null &
    pids+=($!)
    wait_until test -s "$XDG_RUNTIME_DIR/quotes.port"
    quotes_port=$(head -1 "$XDG_RUNTIME_DIR/quotes.port")
}

make_home() {
    local lang=$1
    rm -rf "$demo_home"
    mkdir -p "$demo_home"
    export HOME=$demo_home
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CACHE_HOME="$HOME/.cache"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_CACHE_HOME"
    KORVALE_DEMO_QUOTES="http://127.0.0.1:$quotes_port" \
        python3 "$root/scripts/demo-home.py" "$lang" "$HOME" "$bin/korvale-data"
    # The system's icons and file types, but none of its applications: the lists show the
    # demonstration's own.
    local share="$XDG_RUNTIME_DIR/demo-share"
    mkdir -p "$share"
    ln -sfn /usr/share/icons "$share/icons"
    ln -sfn /usr/share/mime "$share/mime"
    export XDG_DATA_DIRS=$share
}

start_agent() {
    LANG=$1 LANGUAGE=$1 LC_ALL= "$bin/korvale-daemon" >"$HOME/.agent.log" 2>&1 &
    agent=$!
    pids+=("$agent")
    wait_until agent_state
    # Its first scan of the applications, so that the list is full.
    sleep 3
}

open_access_window() {
    xdotool keydown super sleep 0.1 keyup super sleep 0.1 keydown super sleep 0.1 keyup super
    wait_until access_visible
    sleep 0.8
}

close_access_window() {
    xdotool key Escape
    wait_until access_hidden || true
    sleep 0.5
}

agent_windows() {
    local lang=$1 out=$2 tour=$3
    start_agent "$lang"
    # The access window at its first place, the reminder list beside it.
    open_access_window
    mapfile -t access < <(windows_of "$agent" "^Korvale$")
    # The list, not the small note of the same name.
    mapfile -t list < <(for w in $(windows_of "$agent" "$(title_pattern "$(python3 \
        "$root/scripts/demo-home.py" --word list_title "$lang")")"); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        ((HEIGHT > 40)) && echo "$w"
    done)
    shot_of_windows "$out/access-window-with-reminders.png" "${access[@]}" "${list[@]}"
    # Tour page 1: the window as it opens.
    shot_of_windows "$tour/tour-open.png" "${access[@]}"
    # Tour page 2: letters typed, rows found.
    xdotool type --delay 60 "$(python3 "$root/scripts/demo-home.py" --word search "$lang")"
    sleep 1.2
    shot_of_windows "$tour/tour-type.png" "${access[@]}"
    # Tour page 3: a folder's menu, opened with the right arrow.
    xdotool key ctrl+a
    xdotool type --delay 60 "$(python3 "$root/scripts/demo-home.py" --word folder "$lang")"
    sleep 1.2
    xdotool key Right
    sleep 1
    # The access window and what belongs to it: its menus and preview have no title.
    mapfile -t named < <(windows_of "$agent")
    mapfile -t menus < <(xdotool search --all --onlyvisible --pid "$agent" 2>/dev/null |
        grep -vxF -f <(printf '%s\n' "${named[@]}") || true)
    shot_of_windows "$tour/tour-menu.png" "${access[@]}" "${menus[@]}"
    xdotool key Escape
    sleep 0.4
    # The browser, opened from the access window, beside it.
    xdotool key ctrl+b
    local title
    title=$(title_pattern "$(python3 "$root/scripts/demo-home.py" --word browser "$lang")")
    wait_until xdotool search --onlyvisible --name "$title"
    shot_of_screen "$out/browser-beside-access-window.png"
    sleep 1.5
    browser=$(xdotool search --onlyvisible --name "$title" | head -1)
    shot_of_window "$out/browser.png" "$browser"
    xdotool windowactivate --sync "$browser" key ctrl+q || true
    sleep 1
    access_hidden || close_access_window
    # The reminder note and its list, the agent's own to-do window.
    mapfile -t rest < <(windows_of "$agent")
    if [ ${#rest[@]} -gt 0 ]; then shot_of_screen "$out/agent-reminders-and-todo.png"; fi
    # The agent runs on while the manager is shown: a manager without it would start its own.
}

manager_windows() {
    local lang=$1 out=$2
    LANG=$lang LANGUAGE=$lang LC_ALL= "$bin/korvale-manager" >"$HOME/.manager.log" 2>&1 &
    local manager=$!
    pids+=("$manager")
    wait_until xdotool search --all --onlyvisible --pid "$manager" --name "^Korvale$"
    sleep 2
    local window
    window=$(xdotool search --all --onlyvisible --pid "$manager" --name "^Korvale$" | head -1)
    xdotool windowmove "$window" 40 40 windowsize "$window" 980 640
    sleep 0.5
    # The sections in their list's order, each row clicked (26 pixels apart, the first 41 pixels
    # down the window, under the menu bar).
    local names=(welcome quick-help shortcuts application-folders applications files to-do
        reminders other-data notes protected-notes clipboard)
    local row=0
    for name in "${names[@]}"; do
        xdotool mousemove --window "$window" 100 $((41 + 26 * row)) click 1
        row=$((row + 1))
        sleep 1
        # The protected notes ask for their password first: the picture shows the sheet.
        shot_of_window "$out/manager-$name.png" "$window"
        xdotool key Escape
    done
    # The sheets: an editor from the New key, the preferences, the about box.
    sheet_of() {
        local sheet
        for sheet in $(xdotool search --all --onlyvisible --pid "$manager" 2>/dev/null); do
            [ "$sheet" = "$window" ] && continue
            eval "$(xdotool getwindowgeometry --shell "$sheet")"
            ((HEIGHT > 60)) && echo "$sheet" && return 0
        done
        return 1
    }
    local sheet_row sheet_name
    for sheet_row in 9:note-editor 6:to-do-editor 7:reminder-editor; do
        sheet_name=${sheet_row#*:}
        xdotool mousemove --window "$window" 100 $((41 + 26 * ${sheet_row%%:*})) click 1
        sleep 0.6
        xdotool key ctrl+n
        if wait_until sheet_of; then
            sleep 0.6
            shot_of_window "$out/manager-$sheet_name.png" "$(sheet_of)"
            xdotool key Escape
            sleep 0.4
        fi
    done
    xdotool key ctrl+comma
    if wait_until sheet_of; then
        sleep 0.6
        shot_of_window "$out/manager-preferences.png" "$(sheet_of)"
        xdotool key Escape
        sleep 0.4
    fi
    # Help, then its second entry.
    xdotool key "alt+$(python3 "$root/scripts/demo-home.py" --word help_key "$lang")"
    sleep 0.4
    xdotool key Down Return
    if wait_until sheet_of; then
        sleep 0.6
        shot_of_window "$out/manager-about.png" "$(sheet_of)"
        xdotool key Escape
        sleep 0.4
    fi
    # Both activity windows, opened together.
    python3 "$root/scripts/demo-home.py" --use "$lang" "$HOME/Downloads/ApplicationsUse.krvdata" \
        "$bin/korvale-data"
    LANG=$lang LANGUAGE=$lang LC_ALL= "$bin/korvale-manager" "$HOME/Downloads/ApplicationsUse.krvdata"
    sleep 3
    shot_of_screen "$out/manager-activity.png"
    kill "$manager"
    wait "$manager" 2>/dev/null || true
}

# The agent's to-do window stays above the others: out of the way of the windows shown next.
minimize_todo() {
    local todo
    todo=$(title_pattern "$(python3 "$root/scripts/demo-home.py" --word todo_title "$1")")
    for w in $(xdotool search --all --onlyvisible --pid "$agent" --name "$todo" 2>/dev/null); do
        xdotool windowminimize --sync "$w" || true
    done
}

# A stock entry found: selecting it surveys its quote and shows the survey window; Return opens
# the agent's stock editor.
agent_stocks() {
    local lang=$1 out=$2 survey editor
    minimize_todo "$lang"
    open_access_window
    xdotool type --delay 60 "$(python3 "$root/scripts/demo-home.py" --word stock "$lang")"
    survey=$(title_pattern "$(python3 "$root/scripts/demo-home.py" --word stock_survey "$lang")")
    if wait_until xdotool search --all --onlyvisible --pid "$agent" --name "$survey"; then
        sleep 1
        local window
        window=$(xdotool search --all --onlyvisible --pid "$agent" --name "$survey" | head -1)
        shot_of_window "$out/agent-stock-survey.png" "$window"
        mapfile -t access < <(windows_of "$agent" "^Korvale$")
        shot_of_windows "$out/access-window-with-stock-survey.png" "${access[@]}" "$window"
    fi
    editor=$(title_pattern "$(python3 "$root/scripts/demo-home.py" --word stock_editor "$lang")")
    xdotool key Return
    if wait_until xdotool search --all --onlyvisible --pid "$agent" --name "$editor"; then
        sleep 0.8
        shot_of_window "$out/agent-stock-editor.png" \
            "$(xdotool search --all --onlyvisible --pid "$agent" --name "$editor" | head -1)"
        xdotool key Escape
        sleep 0.4
    fi
    access_hidden || close_access_window
    local window
    for window in $(xdotool search --all --onlyvisible --pid "$agent" --name "$survey" 2>/dev/null); do
        xdotool windowactivate --sync "$window" key Escape || true
    done
}

# The calendar window, from the access window's Ctrl+K: last, as it stays on the screen.
agent_calendar() {
    local lang=$1 out=$2 title
    minimize_todo "$lang"
    open_access_window
    xdotool key ctrl+k
    title=$(title_pattern "$(python3 "$root/scripts/demo-home.py" --word calendar "$lang")")
    if wait_until xdotool search --all --onlyvisible --pid "$agent" --name "$title"; then
        local calendar
        calendar=$(xdotool search --all --onlyvisible --pid "$agent" --name "$title" | head -1)
        # The access window, which stays above the others, closed by its gesture.
        xdotool keydown super sleep 0.1 keyup super sleep 0.1 keydown super sleep 0.1 keyup super
        wait_until access_hidden || true
        xdotool windowraise "$calendar" windowactivate --sync "$calendar" || true
        sleep 1
        shot_of_window "$out/agent-calendar.png" "$calendar"
    fi
}

# The installer's window, from its own folder, before it is told to install anything.
installer_window() {
    local lang=$1 out=$2 program="$root/$build/qor-installer/qor-installer"
    [ -x "$program" ] || return 0
    LANG=$lang LANGUAGE=$lang LC_ALL= "$program" >"$HOME/.installer.log" 2>&1 &
    local installer=$!
    pids+=("$installer")
    if wait_until xdotool search --all --onlyvisible --pid "$installer" --name .; then
        sleep 1.5
        # Its main window: the largest of its windows.
        local largest="" area=0 candidate
        for candidate in $(xdotool search --all --onlyvisible --pid "$installer" --name .); do
            eval "$(xdotool getwindowgeometry --shell "$candidate")"
            if ((WIDTH * HEIGHT > area)); then
                area=$((WIDTH * HEIGHT))
                largest=$candidate
            fi
        done
        xdotool windowactivate --sync "$largest" || true
        sleep 0.5
        shot_of_window "$out/installer.png" "$largest"
    fi
    kill "$installer" 2>/dev/null || true
    wait "$installer" 2>/dev/null || true
}

for lang in "${languages[@]}"; do
    out="$root/docs/screens/$lang"
    tour="$root/manager/tour/$lang"
    mkdir -p "$out" "$tour"
    start_quote_server
    make_home "$lang"
    agent_windows "$lang" "$out" "$tour"
    agent_stocks "$lang" "$out"
    manager_windows "$lang" "$out"
    installer_window "$lang" "$out"
    agent_calendar "$lang" "$out"
    stop_all
    # The next language's agent must not find this one still on the bus.
    wait_until bash -c '! gdbus introspect --session --dest org.korvale.Daemon --object-path / >/dev/null 2>&1'
done
echo "demo-screenshots: pictures in docs/screens/ and manager/tour/"
