#!/usr/bin/env bash
# The pauses on the wire of one Contact-ID alarm: sent by corvane --run, and by the
# operator's click on "transmit" in the window, each against its own zmsim. Runs the
# e2e test that proves the frames equal, keeps both module logs, and prints each frame
# with the gap since the frame before it in both logs, side by side, then the largest
# difference of a gap. The gap before the click's first frame is when the click came
# (the operator's moment, or the plan's next tick), not a pause of the dialog: it is
# marked and left out of the figures.
#   bench/plan_wire.sh [build-dir]      (the build needs the e2e_tests target)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ZM_KEEP_WIRE_LOGS=$work QT_QPA_PLATFORM=offscreen \
  "$build/e2e_tests" --gtest_filter='PlanWire.*' > "$work/test.out" 2>&1 ||
  { cat "$work/test.out"; exit 1; }
# rx and tx lines up to the delivery report: "ms kind text".
wire() {
  awk '$3 == "rx" || $3 == "tx" {
         text = $4; for (i = 5; i <= NF; i++) text = text " " $i
         print $1, $3, text
         if ($3 == "tx" && text ~ /MESSAGE SUCCESS/) exit
       }' "$1"
}
wire "$work/plan.log" > "$work/plan.wire"
wire "$work/window.log" > "$work/window.wire"
# The click's first frame: the CR just before the transmit's W3D01.
click=$(( $(grep -n ' rx W3D01$' "$work/plan.wire" | head -1 | cut -d: -f1) - 1 ))
paste -d'|' "$work/plan.wire" "$work/window.wire" | awk -F'|' -v click="$click" '
  BEGIN { printf "%-28s %9s %9s %6s\n", "frame", "plan ms", "window ms", "diff" }
  {
    split($1, p, " "); split($2, w, " ")
    text = p[2]; for (i = 3; i <= length(p); i++) text = text " " p[i]
    if (NR > 1) {
      gp = p[1] - pp; gw = w[1] - pw; d = gp - gw
      printf "%-28.28s %9d %9d %6d%s\n", text, gp, gw, d, NR == click ? "  (the click)" : ""
      if (NR == click) { pp = p[1]; pw = w[1]; next }
      ad = d < 0 ? -d : d; if (ad > worst) { worst = ad; at = text }
      sum += ad; n++
    } else printf "%-28.28s %9s %9s\n", text, "-", "-"
    pp = p[1]; pw = w[1]
  }
  END { printf "%d gaps besides the click; mean |diff| %.1f ms; largest |diff| %d ms (before %s)\n", n, sum / n, worst, at }'
