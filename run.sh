#!/usr/bin/env bash
# Sets up, builds and starts Vyk Edit on the simulated Box. Arguments go to the program (for
# example a project file to open, or --port /dev/ttyUSB0 for a real Box).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target vyk vykedit

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  # The simulated Box on a drive: Box > Live (F8) shows the engine moving along the table.
  exec build/release/vykedit --port Simulator:drive "$@"
fi

# No screen to show a window on: show the same work through the command line instead.
vyk=build/release/vyk
demo=$(mktemp -d)
"$vyk" boxsim --group gm --baud 0 --offsets 10,FFF8,6,0 >"$demo/boxsim.txt" 2>/dev/null &
boxsim=$!
# A second one on a drive, at the line speed of a real Box, for the live readings.
"$vyk" boxsim --group gm --drive >"$demo/drive.txt" 2>/dev/null &
drive=$!
trap 'kill $boxsim $drive 2>/dev/null; rm -rf "$demo"' EXIT
until [ -s "$demo/boxsim.txt" ] && [ -s "$demo/drive.txt" ]; do sleep 0.1; done
box=$(head -1 "$demo/boxsim.txt")
step() { printf '\n$ vyk %s\n' "$*"; "$vyk" "$@"; }
echo "No display (DISPLAY is not set), so the editor window cannot open."
echo "Here is what it does, through the vyk command line against a simulated Box on $box:"
step project new --group gm --name "Demo car" "$demo/demo.VYK"
step project edit "$demo/demo.VYK" --entry 10=3000 --pot 1=up --limit 12000
step project show "$demo/demo.VYK"
step box identify --group gm --port "$box"
step box monitor "$demo/demo.VYK" --port "$box"
step box write "$demo/demo.VYK" --port "$box"
step project new --group gm --name "Read back" "$demo/copy.VYK"
step box read "$demo/copy.VYK" --port "$box"
step project show "$demo/copy.VYK"
step box live "$demo/copy.VYK" --port "$(head -1 "$demo/drive.txt")" --seconds 12 --csv "$demo/drive.csv"
step log summary "$demo/drive.csv"
echo
echo "On a machine with a display, ./run.sh opens the editor on the simulated Box."
