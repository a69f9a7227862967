#!/bin/sh
# run_installed_station.sh <prefix> <scratch folder> [<emulator>]
#
# Runs the installed programs from their prefix alone, as someone who only has
# the prefix would: the help of the station and the maintainer without any
# display, a headless snapshot of the installed sample ship while the installed
# data server plays the installed scenario, and last, with the installed ship
# file emptied, both programs refusing that very file: their default is the
# prefix's copy, not the source tree's. Any failing step fails the script.
set -eu
prefix=$1
work=$2
emulator=${3:-}
ship="$prefix/share/kelvane/ship.json"

[ -s "$ship" ] || { echo "no sample ship installed at $ship" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/snapshots"
cd "$work"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM || true

for program in kelvane-station kelvane-maintainer; do
    $emulator "$prefix/bin/$program" --help > "$work/$program-help.txt"
    grep -q -- "--ship" "$work/$program-help.txt" || { echo "$program --help printed no options" >&2; exit 1; }
done

$emulator "$prefix/bin/tavimor-dataserver" --port 0 --scenario "$prefix/share/kelvane/scenario.json" \
    > "$work/server.txt" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
port=
tries=0
while [ -z "$port" ] && [ $tries -lt 100 ]; do
    port=$(sed -n 's/^listening on .*:\([0-9][0-9]*\)$/\1/p' "$work/server.txt")
    [ -n "$port" ] || sleep 0.1
    tries=$((tries + 1))
done
[ -n "$port" ] || { echo "the installed data server did not start:" >&2; cat "$work/server.txt" >&2; exit 1; }

$emulator "$prefix/bin/kelvane-station" --snapshot "$work/snapshots" --port "$port" --after 1 > /dev/null
for deck in 1 2 3 4; do
    [ -s "$work/snapshots/$deck.png" ] || { echo "no picture of deck $deck" >&2; exit 1; }
done

# refuses <program> [<argument>...]: the program ends with exit code 3 (a
# refused ship file) and names the installed ship file.
refuses() {
    program=$1
    shift
    status=0
    QT_QPA_PLATFORM=offscreen $emulator "$prefix/bin/$program" "$@" > /dev/null 2> "$work/refused.txt" || status=$?
    [ $status -eq 3 ] && grep -qF "$ship" "$work/refused.txt" || {
        echo "$program did not open $ship by default (exit $status):" >&2
        cat "$work/refused.txt" >&2
        exit 1
    }
}
printf '{"format": 1}' > "$ship"
refuses kelvane-station --snapshot "$work/snapshots" --port "$port"
refuses kelvane-maintainer
