#!/usr/bin/env bash
# Runs the commissioning plan (examples/commissioning.toml) against the module
# simulator, without a window: zmsim is COM1: in plan-work/, corvane --run says each
# step's verdict, and leaves plan-work/commissioning.xml (JUnit) and .json. The exit
# status is corvane's: 0 when every step passed. Needs what scripts/demo.sh installs.
# ZM_BUILD_DIR names another build directory than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build_dir=${ZM_BUILD_DIR:-build}
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build_dir" --target corvane zmsim > /dev/null

work="$root/plan-work"
mkdir -p "$work"
cd "$work"
"$build_dir/zmsim" --link ports/COM1 --log zmsim.log --call-ms 1000 > zmsim.out 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -L ports/COM1 ] && break; sleep 0.1; done

status=0
"$build_dir/corvane" --run "$root/examples/commissioning.toml" \
  --junit commissioning.xml --json commissioning.json || status=$?
echo "corvane --run ended with status $status; reports and zmsim.log are in $work"
exit "$status"
