#!/usr/bin/env bash
# Installs what is missing, builds, and runs Corvane against the module simulator:
# zmsim answers as COM1: in demo-work/, which holds a telephone number and sample
# messages. The simulator stops when Corvane's window is closed.
# ZM_BUILD_DIR names another build directory than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build_dir=${ZM_BUILD_DIR:-build}
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac

# Only what the demo runs: the two programs and the simulator, not the tests (those are
# scripts/test.sh's). The packages are the ones configuring and building need.
packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev ccache xvfb xauth x11-utils
          libtomlplusplus-dev libcli11-dev nlohmann-json3-dev)  # the last three: Corvane's test plans
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build_dir" --target corvane halvard zmsim

# Corvane's window, with its status line, is about 1430 x 720 pixels.
window_w=1430
window_h=720
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<TEXT
demo: there is no display (\$DISPLAY and \$WAYLAND_DISPLAY are unset), so Corvane's
window cannot open. Corvane, Halvard and zmsim are built; run the demo on a virtual X
server with a screen that holds the window (about ${window_w} x ${window_h} pixels):

    xvfb-run -a -s "-screen 0 1600x1000x24" scripts/demo.sh

(xvfb-run comes with Debian's xvfb package, which this script has installed.)
TEXT
  exit 1
fi
if [ -n "${DISPLAY:-}" ] && command -v xwininfo > /dev/null; then
  screen=$(xwininfo -root 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  screen_w=${screen%x*}
  screen_h=${screen#*x}
  if [[ "$screen_w" =~ ^[0-9]+$ && "$screen_h" =~ ^[0-9]+$ ]] &&
     ((screen_w < window_w || screen_h < window_h)); then
    echo "demo: the screen is ${screen_w} x ${screen_h} pixels, smaller than Corvane's window" \
         "(about ${window_w} x ${window_h}); under Xvfb use" \
         "xvfb-run -a -s \"-screen 0 1600x1000x24\" scripts/demo.sh" >&2
  fi
fi

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

"$build_dir/zmsim" --link ports/COM1 --log zmsim.log > zmsim.out 2>&1 &
sim_pid=$!
stop_sim() {
  if kill -0 "$sim_pid" 2>/dev/null; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
}
trap stop_sim EXIT

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
"$build_dir/corvane"
