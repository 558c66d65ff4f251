#!/usr/bin/env bash
# What a user on Windows meets, checked under Wine and Xvfb in a Wine prefix of its own: the
# command line (its version, a project with a non-ASCII name made, edited and shown, a Box on a
# COM port written and read back), the window (shown, timed, pictured, ended with Ctrl+Q), the
# pictures of the windows, and the installer (installs, opens .VYK files, uninstalls and leaves
# the user's files). Run after build.sh; VYK_QT_WINDOWS names the Qt it used.
# Usage: packaging/windows/wine-checks.sh LINUX_BUILD_FOLDER
#   LINUX_BUILD_FOLDER holds the Linux vyk (whose boxsim serves the COM port) and vykedit (whose
#   start-up time is given beside the Windows one).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
linux=$(cd "$1" && pwd)
build=$repo/build/windows
stage=$build/stage
out=$build/wine-checks
run=$here/wine-run.sh
version=$(sed -n 's/^set(VYK_VERSION_TEXT "\(.*\)")$/\1/p' "$repo/CMakeLists.txt")
setup=$build/vyk-edit-$version-windows-x64-setup.exe
# The pictures' program runs from the build tree, beside no Qt DLLs: wine-run.sh finds them.
VYK_QT_WINDOWS=${VYK_QT_WINDOWS:-$("$here/build-qt.sh" | tail -n 1)}
export VYK_QT_WINDOWS

rm -rf "$out"
mkdir -p "$out/pictures"
export WINEPREFIX=$out/prefix
work=$out/work
mkdir -p "$work"
boxsim=
cleanup() {
  [ -n "$boxsim" ] && kill "$boxsim" 2>/dev/null
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
fail() {
  echo "wine-checks: $*" >&2
  exit 1
}
check() {  # WHAT: prints it, for the log to show how far the checks came
  echo "== $*"
}

check "a new Wine prefix"
"$run" wineboot --init >/dev/null 2>&1
# Wine's own Tahoma, the font Qt takes for the windows, leaves the text of Qt's line edits
# undrawn (a bare Qt program shows the same); Windows' fonts are not here, DejaVu Sans stands in.
for font in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
  "$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "DejaVu Sans" /f \
    >/dev/null 2>&1
done
# Its output without the carriage returns Windows puts before each line end.
vyk() { "$run" "$stage/vyk.exe" "$@" | tr -d '\r'; }

check "vyk.exe --version"
[ "$(vyk --version)" = "vyk (Vyk Edit) $version" ] || fail "vyk.exe --version: $(vyk --version)"

check "a project with a non-ASCII name: new, edit, show"
cd "$work"
project="Prüfstand é.VYK"
vyk project new --group gm --name "Café" "$project"
vyk project edit --entry 3=200 --limit 300 "$project"
[ "$(stat -c %s "$project")" = 768 ] || fail "$project is not 768 bytes"
vyk project show "$project" | grep "^Name: *Café" >/dev/null || fail "project show lost the name"
# The same bytes read on Linux give the same table.
[ "$(vyk project table "$project")" = "$("$linux/vyk" project table "$project")" ] ||
  fail "vyk.exe and the Linux vyk read different tables from $project"

check "a Box on COM5 (the Linux simulated Box on a pseudo-terminal)"
"$linux/vyk" boxsim --group gm >"$work/boxsim.out" 2>"$work/boxsim.err" &
boxsim=$!
for _ in $(seq 50); do
  [ -s "$work/boxsim.out" ] && break
  sleep 0.1
done
ln -sfn "$(head -n 1 "$work/boxsim.out")" "$WINEPREFIX/dosdevices/com5"
vyk box identify --port COM5 --group gm
vyk box write --port COM5 --group gm "$project"
cp "$project" "read back.VYK"
vyk project edit --entry 3=0 "read back.VYK" >/dev/null
vyk box read --port COM5 --group gm "read back.VYK"
vyk project diff "$project" "read back.VYK" || fail "what was read back differs from what was written"
kill "$boxsim"
boxsim=

# Seconds from the start of PROGRAM until its main window shows, then Ctrl+Q; under Xvfb.
cat >"$work/window.sh" <<'EOF'
#!/usr/bin/env bash
set -euo pipefail
picture=$1
shift
start=$(date +%s%N)
"$@" --port Simulator >/dev/null 2>&1 &
program=$!
window=
for _ in $(seq 600); do
  window=$(xdotool search --onlyvisible --name '^Vyk Edit' 2>/dev/null | head -n 1) && break
  sleep 0.05
done
[ -n "$window" ] || { echo "no window" >&2; exit 1; }
shown=$(date +%s%N)
sleep 2
import -window root "$picture"
for _ in $(seq 10); do
  # Real key presses (XTEST) into the focused window: Wine drops sent ones while it settles.
  xdotool mousemove --window "$window" 200 100 windowfocus "$window" key ctrl+q 2>/dev/null || true
  for _ in $(seq 20); do
    kill -0 $program 2>/dev/null || break 2
    sleep 0.05
  done
done
if kill -0 $program 2>/dev/null; then
  kill $program
  echo "Ctrl+Q did not end it" >&2
  exit 1
fi
echo "$(( (shown - start) / 1000000 )) ms"
EOF
chmod +x "$work/window.sh"
# A Wine session keeps the display it started with: each run under a new Xvfb starts a new one.
new_session() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true  # gone before the next one starts
}
# PICTURE PROGRAM...: window.sh in a new session, tried again in another when the window never
# shows (Wine's first window of a session now and then does not).
show_window() {
  local try
  for try in 1 2 3; do
    new_session
    if xvfb-run -a -s "-screen 0 1280x900x24" "$work/window.sh" "$@"; then
      return 0
    fi
    echo "window try $try failed" >&2
  done
  return 1
}

check "vykedit.exe --port Simulator: its window, then Ctrl+Q"
new_session
# Once before it is timed: Wine's first window in a new prefix also sets up the prefix's
# desktop (and misses the keys sent meanwhile), which no user meets twice.
xvfb-run -a -s "-screen 0 1280x900x24" "$work/window.sh" "$work/first-window.png" \
  "$run" "$stage/vykedit.exe" >/dev/null 2>&1 || true
windows_ms=$(show_window "$out/pictures/window.png" "$run" "$stage/vykedit.exe")
linux_ms=$(xvfb-run -a -s "-screen 0 1280x900x24" "$work/window.sh" "$out/linux-window.png" \
  "$linux/vykedit")
echo "Start-up to a shown window: vykedit.exe under Wine $windows_ms, vykedit on Linux ($(basename "$linux") build) $linux_ms" |
  tee "$out/start-up.txt"

check "pictures of the windows under Wine"
"$repo/tools/screenshot.sh" --prepare "$work/pictures" "$linux/vyk"
new_session
# Folders as Windows names them (Z: is the build machine's root).
win() { echo "Z:${1//\//\\}"; }
pictures=$(win "$work/pictures")
take_pictures() {
  timeout 180 xvfb-run -a -s "-screen 0 1280x900x24" "$run" "$build/vykedit-screenshots.exe" \
    --port Simulator --config "$pictures" --app-folder "$pictures\app" --data "$pictures\data" \
    "$(win "$out/pictures")" "$pictures\demo.VYK" >/dev/null 2>&1
}
# Now and then Wine's first window of a new session never shows: a second session shows it.
take_pictures || { new_session && take_pictures; }
for picture in main match meter_editor; do
  [ -s "$out/pictures/$picture.png" ] || fail "no picture $picture.png"
done

check "the installer, silent: install, open .VYK with the program, uninstall"
programs="$WINEPREFIX/drive_c/Program Files/Vyk Edit"
new_session
"$run" "$setup" /S
/usr/lib/wine/wineserver -w
[ -f "$programs/vykedit.exe" ] && [ -f "$programs/platforms/qwindows.dll" ] ||
  fail "the installer did not install the programs"
[ "$("$run" "$programs/vyk.exe" --version | tr -d '\r')" = "vyk (Vyk Edit) $version" ] ||
  fail "the installed vyk.exe does not run"
"$run" reg query 'HKLM\Software\Classes\.VYK' | grep VykEdit.Project >/dev/null ||
  fail ".VYK files do not open in the program"
# A meter the user keeps beside the program, and the data the Box exchanges left behind.
mkdir -p "$programs/GM"
cp "$work/pictures/app/GM/USE.MAF" "$programs/GM/MINE.MAF"
data="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/vyk-edit"
[ -d "$data/backups" ] || fail "no backups in $data"
"$run" "$programs/Uninstall.exe" /S
/usr/lib/wine/wineserver -w
[ ! -e "$programs/vykedit.exe" ] && [ ! -e "$programs/Qt6Core.dll" ] ||
  fail "the uninstaller left the programs"
[ -f "$programs/GM/MINE.MAF" ] && [ -d "$data/backups" ] ||
  fail "the uninstaller removed the user's files"
check "all passed"
