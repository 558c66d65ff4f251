#!/usr/bin/env bash
# Pictures of the windows, taken under Xvfb: the main window with a project open (and a
# reading of the simulated Box) and with its byte grid, the meter editor with a meter open, the
# match dialog after a Match and with a pair of meters it warns about, the Range Edit dialog
# after a Scale, the help window, the comparison with the simulated Box, the preview of an
# Update, Box > Backups, Box > History, and the log viewer on a recorded drive with the main
# window's table coloured by its hit map, and Edit > Correct From Log on a scan tool's log. The
# same pictures again at twice the scale
# (QT_SCALE_FACTOR=2, in hidpi/) and in a dark palette (in dark/).
# Usage: tools/screenshot.sh [OUTPUT_FOLDER] (default: screenshots/).
#        tools/screenshot.sh --prepare FOLDER VYK (the demonstration's files only).
set -euo pipefail
cd "$(dirname "$0")/.."
# The demonstration: three GM meters and a project matched from two of them, made with VYK.
prepare() {  # FOLDER VYK
  local work=$1 vyk=$2
  mkdir -p "$work/app/GM"
  printf 'GM-USE-1\r\nFrequency\r\nlb/hr\r\nFitted meter\r\nDemo\r\n 1500 20\r\n 3000 80\r\n 5000 250\r\n 7000 480\r\n 9000 800\r\n11000 1200\r\n' >"$work/use.txt"
  printf 'GM-MATCH-1\r\nVolts\r\nlb/hr\r\nExpected meter\r\nDemo\r\n0.8 10\r\n1.5 60\r\n2.2 200\r\n3.0 450\r\n3.8 800\r\n4.6 1300\r\n' >"$work/match.txt"
  "$vyk" meter import "$work/use.txt" "$work/app/GM/USE.MAF"
  "$vyk" meter import "$work/match.txt" "$work/app/GM/MATCH.MAF"
  # A meter for the match dialog's warnings: its flows start high, and one of its points dips.
  printf 'GM-WIDE-1\r\nVolts\r\nlb/hr\r\nA larger engine'"'"'s meter\r\nDemo\r\n1.0 700\r\n2.0 1100\r\n2.6 1000\r\n3.5 2000\r\n4.9 3000\r\n' >"$work/wide.txt"
  "$vyk" meter import "$work/wide.txt" "$work/app/GM/WIDE.MAF"
  "$vyk" project new --group gm --name "Demo car" --description "Screenshot" "$work/demo.VYK" 2>/dev/null
  "$vyk" match "$work/app/GM/USE.MAF" "$work/app/GM/MATCH.MAF" --apply "$work/demo.VYK" 2>/dev/null
}

# --prepare FOLDER VYK: only the demonstration's files, for pictures taken elsewhere (Windows).
if [ "${1:-}" = "--prepare" ]; then
  prepare "$2" "$3"
  exit 0
fi

out=$(realpath -m "${1:-screenshots}")
mkdir -p "$out"

tools/install-deps.sh
if ! command -v xvfb-run >/dev/null || ! command -v xauth >/dev/null; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends xvfb xauth
fi
cmake --preset release >/dev/null
cmake --build --preset release --target vyk vykedit-screenshots

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare "$work" build/release/vyk

shoot() {  # SCREEN FOLDER [OPTIONS]
  local screen=$1 folder=$2
  shift 2
  mkdir -p "$folder"
  xvfb-run -a -s "-screen 0 ${screen}x24" build/release/vykedit-screenshots --port Simulator \
    --config "$work" --app-folder "$work/app" --data "$work/data" "$@" "$folder" "$work/demo.VYK"
}
shoot 1280x900 "$out"
QT_SCALE_FACTOR=2 shoot 2560x1800 "$out/hidpi"
shoot 1280x900 "$out/dark" --dark
ls -l "$out" "$out/hidpi" "$out/dark"
