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

scripts/setup.sh "$build_dir"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'TEXT'
demo: there is no display ($DISPLAY and $WAYLAND_DISPLAY are unset), so Corvane's
window cannot open. Everything is built; run the demo on a virtual X server instead:

    xvfb-run -a -s "-screen 0 1600x1000x24" scripts/demo.sh

(xvfb-run comes with Debian's xvfb package, which scripts/setup.sh has installed.)
TEXT
  exit 1
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
