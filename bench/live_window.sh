#!/usr/bin/env bash
# The window's CPU while live: vykedit on `vyk boxsim --baud 9600 --drive` under Xvfb, the live
# view started with F8 and left running; prints its CPU share of one core over the steady part,
# with its memory at the start and the end.
# Usage: bench/live_window.sh [SECONDS] [BUILD_FOLDER] (default 60, build/release); needs
# xvfb-run, xdotool and ImageMagick's import, run from the checkout.
set -euo pipefail
seconds=${1:-60}
build=${2:-build/release}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
"$build/vyk" boxsim --group gm --drive >"$work/box.txt" 2>/dev/null &
until [ -s "$work/box.txt" ]; do sleep 0.1; done
"$build/vyk" project new --group gm --name Bench "$work/bench.VYK" >/dev/null

cat >"$work/run.sh" <<SCRIPT
#!/usr/bin/env bash
"$build/vykedit" --port "$(head -1 "$work/box.txt")" --config "$work" --data "$work/data" \
  "$work/bench.VYK" &
pid=\$!
sleep 3
xdotool key Return  # the project's "loaded" box
sleep 2
# Without a window manager the keys go where the pointer clicked last: on the chart.
xdotool mousemove 760 560 click 1
sleep 0.5
xdotool key F8
sleep 5
ticks() { awk '{print \$14 + \$15}' /proc/\$pid/stat; }
rss() { awk '/VmRSS/ {print \$2}' /proc/\$pid/status; }
t0=\$(ticks); m0=\$(rss)
sleep $seconds
t1=\$(ticks); m1=\$(rss)
hz=\$(getconf CLK_TCK)
echo "window while live: \$(( (t1 - t0) * 10000 / (hz * $seconds) / 100 )).\$(( (t1 - t0) * 10000 / (hz * $seconds) % 100 )) % of one core over $seconds s; memory \$m0 kB -> \$m1 kB"
kill \$pid
SCRIPT
chmod +x "$work/run.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/run.sh" 2>/dev/null
