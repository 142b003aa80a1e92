#!/bin/sh
# Takes a picture of the window next to Writer holding the exported report, under Xvfb:
# opens the window, presses 强度计算, 裂缝计算, 生成计算书 and 计算书保存, places Writer to the
# right of the window and grabs the screen. Everything runs with a throw-away home directory,
# so the office gets a fresh profile, and the program's symbol font is installed there so that
# Writer draws the private-use characters as the report box does.
#
#   writer-screenshot.sh BUILD_DIR OUT.png
#
# With WALLCALC_OFFICE naming a pipe nobody listens on (and WALLCALC_OFFICE_DEADLINE_MS short),
# the picture shows instead the error box of a press that found no office.
#
# Needs xvfb, xdotool and imagemagick. Ends the office, the window and Xvfb it started by
# their process ids.
set -eu
build=$1
out=$2
src=$(cd "$(dirname "$0")/../../.." && pwd)
home=$(mktemp -d)
display=:$((50 + $$ % 40))
pids=""
# The office that the export started here: the processes running with this home directory.
office_pids() {
    for p in /proc/[0-9]*; do
        case "$(tr '\0' ' ' < "$p/cmdline" 2>/dev/null)" in
        *soffice.bin*|*oosplash*)
            tr '\0' '\n' < "$p/environ" 2>/dev/null | grep -qx "HOME=$home" && echo "${p#/proc/}" ;;
        esac
    done
}
cleanup() {
    # It holds an unsaved document and would ask before terminating: it is killed by its ids.
    for pid in $(office_pids); do kill -9 "$pid" 2>/dev/null || true; done
    for pid in $pids; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT

mkdir -p "$home/.local/share/fonts"
cp "$src/resources/fonts/WallcalcSymbols.ttf" "$home/.local/share/fonts/"
Xvfb "$display" -screen 0 2240x900x24 -nolisten tcp &
pids="$!"
sleep 1
export DISPLAY="$display" HOME="$home"
"$build/app/wallcalc" &
pids="$! $pids"
sleep 2
win=$(xdotool search --sync --onlyvisible --pid "$!" | head -n1)
xdotool windowmove "$win" 0 0 windowsize "$win" 1010 740
sleep 1
# Button centres from the window's layout (twips / 15).
for button in "584 516" "584 596" "204 688" "452 688"; do
    xdotool mousemove $button click 1
    sleep 1
done
# Wait for Writer's window and put it to the right of the window.
writer=""
for _ in $(seq 30); do
    writer=$(xdotool search --onlyvisible --class libreoffice 2>/dev/null | tail -n1 || true)
    [ -n "$writer" ] && break
    sleep 0.5
done
if [ -n "$writer" ]; then
    sleep 3
    xdotool windowmove "$writer" 1015 0 windowsize "$writer" 1225 900
    sleep 2
    # The export leaves the cursor after the last line; show the document from its top.
    xdotool windowfocus "$writer" key ctrl+Home
    sleep 2
fi
import -window root "$out"
