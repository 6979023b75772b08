#!/usr/bin/env bash
# A 100-alarm soak plan run by corvane --run against zmsim with short calls: CPU and
# memory of corvane from the first alarm to the last, and its CPU while idle between
# ticks (a 10 s pause before the alarms). Prints one sample a second, then the figures.
#   bench/plan_soak.sh [build-dir]      (the build needs the corvane and zmsim targets)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'kill "${sim:-}" "${run:-}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
cat > soak.toml <<'PLAN'
port = "COM1:"
telephone = "5551234"
[[step]]
do = "pause"
seconds = 10
[[step]]
do = "alarm"
format = "contact-id"
message = "123418113101015"
within = 30
repeat = 100
PLAN
printf 'COM1:' > commport
"$build/zmsim" --link ports/COM1 --log zmsim.log --call-ms 200 > zmsim.out 2>&1 &
sim=$!
for _ in $(seq 50); do [ -L ports/COM1 ] && break; sleep 0.1; done
"$build/corvane" --run soak.toml --json soak.json > corvane.out 2> corvane.err &
run=$!
hz=$(getconf CLK_TCK)
echo "  s  alarms  cpu%   rss_kib"
prev=0
t=0
samples=()
while kill -0 "$run" 2>/dev/null; do
  sleep 1
  t=$((t + 1))
  [ -r /proc/$run/stat ] || break
  ticks=$(awk '{print $14 + $15}' /proc/$run/stat 2>/dev/null) || break
  rss=$(awk '/^VmRSS/ {print $2}' /proc/$run/status 2>/dev/null) || break
  done_alarms=$( (grep -o '"verdict": "delivered"' soak.json 2>/dev/null || true) | wc -l)
  cpu=$(awk -v d=$((ticks - prev)) -v hz="$hz" 'BEGIN {printf "%.1f", 100 * d / hz}')
  prev=$ticks
  printf '%3d  %6d  %5s  %8s\n' "$t" "$done_alarms" "$cpu" "$rss"
  samples+=("$t $done_alarms $cpu $rss")
done
wait "$run" && status=0 || status=$?
echo "corvane --run exit status $status"
tail -4 corvane.out
printf '%s\n' "${samples[@]}" | awk '
  $2 == 0 && $1 >= 3 && $1 <= 9 { idle += $3; nidle++ }
  $2 >= 1 && first == "" { first = $4 }
  $2 >= 1 && $2 <= 20 { early += $3; nearly++ }
  $2 >= 80 { late += $3; nlate++; last = $4 }
  END {
    printf "idle (pause) cpu %.2f %% of a core\n", nidle ? idle / nidle : 0
    printf "cpu during alarms 1-20 %.1f %%, during alarms 80-100 %.1f %%\n", nearly ? early / nearly : 0, nlate ? late / nlate : 0
    printf "rss at the first alarm %s KiB, at the last %s KiB\n", first, last
  }'
