#!/usr/bin/env bash
# Installs what is missing, builds, and runs Corvane against the module simulator:
# zmsim answers as COM1: in demo-work/, which holds a telephone number and sample
# messages.
#
# With a display, Corvane's window opens there for the operator; the simulator stops
# when the window is closed. Without one (no $DISPLAY or $WAYLAND_DISPLAY), or with
# --headless, the demo makes its own virtual screen, clicks "go (transmit message)..."
# in the real window to send alarm message 1 (Contact-ID), prints Corvane's session
# log (./corvane.log) as it is written until the alarm has ended, saves a screenshot,
# says where, and ends.
#
# Usage: scripts/demo.sh [--headless]
# ZM_BUILD_DIR names another build directory than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build_dir=${ZM_BUILD_DIR:-build}
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac

headless=false
case "${1:-}" in
  --headless) headless=true ;;
  "") ;;
  *) echo "usage: scripts/demo.sh [--headless]" >&2; exit 2 ;;
esac
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then headless=true; fi

# Only what the demo runs: the two programs and the simulator, not the tests (those are
# scripts/test.sh's). The packages are the ones configuring and building need (the
# last five: Corvane's test plans, Halvard's test e-mail), and for a demo without a
# display: a virtual X server (xvfb, xauth), a window manager to frame the window
# (openbox), a hand on the mouse (xdotool), window listings (x11-utils) and the
# screenshot (imagemagick).
packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev ccache fonts-dejavu-core
          libtomlplusplus-dev libcli11-dev nlohmann-json3-dev libcurl4-openssl-dev libssl-dev)
if $headless; then packages+=(xvfb xauth openbox xdotool x11-utils imagemagick); fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "demo: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo > /dev/null ||
      { echo "demo: run as root, or install sudo, to install: ${missing[*]}" >&2; exit 1; }
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" > /dev/null
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build_dir" --target corvane halvard zmsim

work="$root/demo-work"
mkdir -p "$work"
cd "$work"
rm -f ports/COM1

# Settings and sample messages, rewritten at every start so the demo always begins
# the same way. Files are raw bytes without a line end, as Corvane writes them.
put() { printf '%s' "$2" > "$1"; }
put commport "COM1:"
put telephonenumber "5551234"
put protocol2 "0"
put alarmmessage  "123418113101015"  # Contact-ID: burglary, partition 01, zone 015
put alarmmessage2 "123418313101015"  # Contact-ID: the same zone restored
put alarmmessage3 "123418111001003"  # Contact-ID: fire, zone 003
put alarmmessage4 "X"                # a multiple run ends here, after three messages
put alarmmessage5 "123456"           # Pulse 4X2: account 1234, event 56
put alarmmessage6 "4E4241303031"     # SIA FSK F1, hex pairs: NBA001
put alarmmessage7 "1234NBA00100000"  # SIA FSK F2
put alarmmessage8 "123418140100000"  # Contact-ID: opening by user 000
: > displaymessage                   # Corvane writes its delivery snapshot here

# Everything started below is stopped on the way out, however the demo ends.
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

"$build_dir/zmsim" --link ports/COM1 --log zmsim.log > zmsim.out 2>&1 &
pids+=($!)
sim_pid=$!
for _ in $(seq 50); do
  [ -L ports/COM1 ] && break
  kill -0 "$sim_pid" 2>/dev/null || { cat zmsim.out >&2; exit 1; }
  sleep 0.1
done
[ -L ports/COM1 ] || { echo "demo: the simulator did not start" >&2; exit 1; }

cat <<TEXT
demo: the module simulator answers as COM1: on $(head -n1 zmsim.out), 9600 baud.
demo: working directory $work; every frame Corvane sends is in zmsim.log there.
demo: alarmmessage 1 to 3 and 8 are Contact-ID, 5 Pulse 4X2, 6 SIA FSK F1, 7 SIA FSK F2.
TEXT
if ! $headless; then
  "$build_dir/corvane"
  exit 0
fi

# --- Without a display: a virtual screen, one alarm sent through the window ---------
# waitFor SECONDS COMMAND...: true once COMMAND succeeds, false when the time is up.
waitFor() {
  local tenths=$(($1 * 10))
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
logHas() { [ -f corvane.log ] && tail -c +"$((log_start + 1))" corvane.log | grep -Eq "$1"; }

screen_size=1366x768
Xvfb -displayfd 3 -screen 0 "${screen_size}x24" -nolisten tcp 3> xvfb.display > xvfb.out 2>&1 &
pids+=($!)
waitFor 10 grep -qx '[0-9][0-9]*' xvfb.display || { cat xvfb.out >&2; echo "demo: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat xvfb.display)"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox > openbox.out 2>&1 &
pids+=($!)
echo "demo: no display here, so a virtual screen $DISPLAY of $screen_size pixels with openbox"

# The session log is followed from where it ends now: an older session stays above.
touch corvane.log
log_start=$(stat -c %s corvane.log)
# tail ends by itself once this script has (--pid), however the pipe is left.
tail -n 0 -F --pid=$$ corvane.log 2>/dev/null | sed -u 's/^/  log | /' &
pids+=($!)
"$build_dir/corvane" > corvane.out 2>&1 &
pids+=($!)
corvane_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --class Corvane 2>/dev/null | head -n1 || true)
[ -n "$window" ] || { cat corvane.out >&2; echo "demo: Corvane's window did not show" >&2; exit 1; }
# Start-up tests the link and reads the module's options before the window takes clicks.
waitFor 15 logHas 'answered|not answer' || true
sleep 1

# The button "go (transmit message) after update file operation above." sits at
# (14, 45, 99, 19) in the 817 x 418 dialog units of the page above the status line; the
# page is drawn in proportion to the window, so its middle is found from the window's
# size whatever the scale.
# xwininfo, not xdotool's geometry, which counts the window manager's frame twice.
read -r X Y WIDTH HEIGHT < <(xwininfo -id "$window" | awk '
  /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
  /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}')
status_line_px=20
x=$((X + WIDTH * (14 * 2 + 99) / (817 * 2)))
y=$((Y + (HEIGHT - status_line_px) * (45 * 2 + 19) / (418 * 2)))
echo "demo: clicking \"go (transmit message)...\" at $x,$y to send alarm message 1 (Contact-ID 123418113101015)"
xdotool mousemove --sync "$x" "$y" click 1
waitFor 10 logHas 'transmit|W3D01' ||
  { echo "demo: the click did not start a transmission; see $work/corvane.log" >&2; exit 1; }

# zmsim reports the call's end about 4 s after G; Corvane shows it at its next ticks.
outcome='MESSAGE SUCCESS|M00|FAILED|timeout|outcome|delivered'
if waitFor 30 logHas "$outcome"; then
  sleep 1.5  # the quiet tick that acts on the report, and the window's repaint
  # The outcome line says how the alarm ended and after how long; wait a little for it.
  waitFor 3 logHas ' outcome ' || true
  ended=$(tail -c +"$((log_start + 1))" corvane.log | grep -E ' outcome ' | head -n1)
  [ -n "$ended" ] ||
    ended=$(tail -c +"$((log_start + 1))" corvane.log | grep -E "$outcome" | head -n1 | sed 's/^ *//')
else
  ended="no report from the module within 30 s"
fi
screenshot="$work/corvane-demo.png"
import -window root "$screenshot"
kill -TERM "$corvane_pid" 2>/dev/null || true  # ends through the window's own close
waitFor 5 bash -c "! kill -0 $corvane_pid 2>/dev/null" || true
sleep 0.3  # the log's closing lines
cat <<TEXT
demo: the alarm ended: $ended
demo: screenshot of the window: $screenshot
demo: the whole session is in $work/corvane.log, the module's side in $work/zmsim.log
TEXT
