#!/usr/bin/env bash
# test-installer.sh BUILD WINE_RUN LOADER PREFIX: makes the setup program with CPack, installs
# it silently (/S) in a Wine prefix of its own, checks the files, the Start-menu entry, the .wall
# association and that the installed programs run, then uninstalls it silently and checks that
# all of it is gone.
set -euo pipefail
build=$1 wine_run=$2 loader=$3 prefix=$4
wineserver="$(dirname "$loader")/wineserver"
work=$(mktemp -d)
trap 'WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wine() { "$wine_run" "$loader" "$prefix" "$@"; }

cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
setup=$(ls "$work"/wallcalc-*-win64.exe)
[[ $(basename "$setup") =~ ^wallcalc-[0-9.]+-win64\.exe$ ]] || fail "installer named $(basename "$setup")"

wine "$setup" /S
# The setup program ends before it is done when it starts its own copy: wait for its work.
dir="$prefix/drive_c/Program Files/wallcalc"
for _ in $(seq 1 240); do [[ -e "$dir/Uninstall.exe" ]] && break; sleep 0.5; done
for file in wallcalc.exe wallcalc-cli.exe README.md Uninstall.exe; do
  [[ -f "$dir/$file" ]] || fail "not installed: $file"
done
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/wallcalc"
[[ -f "$menu/地下室外墙计算.lnk" ]] || fail "no Start-menu entry: $(ls -R "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" 2>&1)"

query() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r'; }
[[ $(query 'HKCR\.wall') == *wallcalc.wall* ]] || fail ".wall not associated: $(query 'HKCR\.wall')"
command=$(query 'HKCR\wallcalc.wall\shell\open\command')
[[ $command == *'"C:\Program Files\wallcalc\wallcalc.exe" "%1"'* ]] || fail "open command: $command"

# The installed command line works: the defaults' support moment.
m1=$(wine 'C:\Program Files\wallcalc\wallcalc-cli.exe' --print Text5 strength | tr -d '\r\n')
[[ $m1 == 107.2080 ]] || fail "installed wallcalc-cli gave M1 $m1"

wine 'C:\Program Files\wallcalc\Uninstall.exe' /S
# The uninstaller runs from a copy of itself in the temporary folder: wait until it is done.
for _ in $(seq 1 240); do [[ -e "$dir" ]] || break; sleep 0.5; done
[[ ! -e "$dir" ]] || fail "left behind: $(ls -A "$dir")"
[[ ! -e "$menu" ]] || fail "Start-menu entry left behind"
if wine reg query 'HKCR\.wall' >/dev/null 2>&1; then fail ".wall still associated"; fi
if wine reg query 'HKCR\wallcalc.wall' >/dev/null 2>&1; then fail "wallcalc.wall still registered"; fi
echo "installed, associated .wall, ran and uninstalled: $(basename "$setup")"
