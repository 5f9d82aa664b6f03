#!/usr/bin/env bash
# Takes the screenshots of the activity chart and report (docs/manager-activity-*.png) from a
# made-up day of use, in a private session: scripts/with-session.sh scripts/activity-screenshots.sh LANG
# LANG is "en" or "fr"; BUILD defaults to build-test.
set -euo pipefail
lang=${1:-en}
build=${BUILD:-build-test}
root=$(cd "$(dirname "$0")/.." && pwd)
apps="$XDG_DATA_HOME/applications"
mkdir -p "$apps"
entry() { printf '[Desktop Entry]\nType=Application\nName=%s\nName[fr]=%s\nExec=true\n' "$2" "$3" >"$apps/$1.desktop"; }
entry org.example.TextEditor "Text Editor" "Éditeur de texte"
entry org.example.WebBrowser "Web Browser" "Navigateur web"
entry org.example.Mail "Mail" "Courrier"
entry org.example.Terminal "Terminal" "Terminal"
entry org.example.Spreadsheet "Spreadsheet" "Tableur"

# The licence taken and the agent off, so that nothing else shows.
"$root/$build/bin/korvale-data" load "$("$root/$build/bin/korvale-data" preferences)" \
    <<<'{"Version": "0.1.0", "DaemonActivated": 0}'
python3 - "$XDG_DATA_HOME/use.json" <<'PY'
import base64, datetime, json, sys
ref = datetime.datetime(2001, 1, 1, tzinfo=datetime.timezone.utc)
day = datetime.datetime.now().astimezone().replace(hour=0, minute=0, second=0, microsecond=0)
def at(h, m): return int(((day + datetime.timedelta(hours=h, minutes=m)) - ref).total_seconds())
plan = [("org.example.Mail", 8, 40, 8, 58), ("org.example.TextEditor", 9, 0, 10, 25),
        ("org.example.WebBrowser", 10, 25, 10, 50), ("org.example.TextEditor", 10, 50, 12, 5),
        ("org.example.Mail", 13, 30, 13, 45), ("org.example.Spreadsheet", 13, 45, 15, 10),
        ("org.example.Terminal", 15, 10, 15, 40), ("org.example.WebBrowser", 15, 40, 16, 5),
        ("org.example.TextEditor", 16, 5, 17, 20), ("vim", 17, 20, 17, 35)]
records = [{"N": n, "D": at(a, b), "T": at(c, d)} for n, a, b, c, d in plan]
def names(*ns):
    body = bytes([0xd9, 0xd9, 0xf7, 0xa0 + len(ns)])
    for n in ns: body += bytes([0x60 + len(n)]) + n.encode() + b"\x00"
    return {"$data": base64.b64encode(body).decode()}
start = int((day - ref).total_seconds())
records.append({"M": names("org.example.Spreadsheet"), "D": start - 40 * 86400})
records.append({"M": names("org.example.Terminal"), "D": start - 12 * 86400})
records.append({"M": names(*sorted({p[0] for p in plan})), "D": start})
json.dump(records, open(sys.argv[1], "w"))
PY
mkdir -p "$HOME/Downloads"
"$root/$build/bin/korvale-data" load "$HOME/Downloads/ApplicationsUse.krvdata" <"$XDG_DATA_HOME/use.json"
LANG=$lang LANGUAGE=$lang LC_ALL= "$root/$build/bin/korvale-manager" "$HOME/Downloads/ApplicationsUse.krvdata" &
manager=$!
sleep 4
chart=$(xdotool search --pid "$manager" --onlyvisible --name '.' | while read -r w; do
    [ "$(xdotool getwindowname "$w")" != Korvale ] && echo "$w"; done)
for w in $chart; do
    case "$(xdotool getwindowname "$w")" in
    *jour*|*Day*) xdotool windowmove "$w" 20 20 windowsize "$w" 900 560 ;;
    *) xdotool windowmove "$w" 940 20 windowsize "$w" 560 360 ;;
    esac
done
sleep 1
for w in $chart; do
    case "$(xdotool getwindowname "$w")" in
    *jour*|*Day*) import -window "$w" "$root/docs/manager-activity-chart-$lang.png" ;;
    *) import -window "$w" "$root/docs/manager-activity-report-$lang.png" ;;
    esac
done
import -window root "$XDG_DATA_HOME/root.png"
kill "$manager"
