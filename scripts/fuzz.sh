#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*_fuzzer.cpp) with clang in build-fuzz and runs
# each in turn, one process at a time (a single in-process fuzzer, no -jobs), over
# its starting corpus in fuzz/corpus/<target>.
#
#   scripts/fuzz.sh 600                      every target for 600 seconds
#   scripts/fuzz.sh --runs 20000             every target for 20000 inputs
#   scripts/fuzz.sh 30 --runs 20000          20000 inputs, but 30 seconds at most
#   scripts/fuzz.sh 600 sim_frame_fuzzer     only the targets named
#   scripts/fuzz.sh --runs 20000 --except corvane_tick_fuzzer
#
# Inputs that find new paths go to build-fuzz/corpus/<target> (the committed corpus
# is only read); an input that breaks an invariant is saved as
# build-fuzz/artifacts/<target>-crash-... and replays with: build-fuzz/fuzz/<target> FILE
# Exits non-zero when any target found a fault. FUZZ_BUILD_DIR names another build dir.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }

limit=()
except=()
named=()
while (($#)); do
  case "$1" in
    --runs) [ $# -ge 2 ] || usage; limit+=(-runs="$2"); shift 2 ;;
    --except) [ $# -ge 2 ] || usage; except+=("$2"); shift 2 ;;
    -h|--help) usage ;;
    *_fuzzer) named+=("$1"); shift ;;
    *[!0-9]*|'') usage ;;
    *) limit+=(-max_total_time="$1"); shift ;;
  esac
done
((${#limit[@]})) || usage

build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
all=()
for src in fuzz/*_fuzzer.cpp; do all+=("$(basename "$src" .cpp)"); done
# Every selected target is built, so one that is not run still compiles.
build=()
targets=()
for t in "${all[@]}"; do
  if ((${#named[@]})) && [[ " ${named[*]} " != *" $t "* ]]; then continue; fi
  build+=("$t")
  if [[ " ${except[*]} " == *" $t "* ]]; then
    echo "fuzz: $t built, not run (expected to fail until its fault is fixed)"
    continue
  fi
  targets+=("$t")
done
for t in "${named[@]}"; do
  [[ " ${all[*]} " == *" $t "* ]] || { echo "fuzz: no target $t" >&2; exit 2; }
done
((${#build[@]})) || exit 0

compiler=$(command -v clang++-14 || command -v clang++ || true)
[ -n "$compiler" ] || { echo "fuzz: clang++ not found (scripts/setup.sh installs clang-14)" >&2; exit 1; }
# -O1, as libFuzzer advises: quick to build, and the sanitizers still see everything.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g" \
  -DCMAKE_CXX_COMPILER="$compiler" -DZM_FUZZ=ON -DZM_LOGIC_ONLY=ON >/dev/null
cmake --build "$build_dir" --target "${build[@]}"

# Leaks stop the run like any other fault; UBSan findings stop it at once.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The targets run side by side, one per core: each is a single process of its own.
jobs=$(nproc 2>/dev/null || echo 1)
run_target() {
  local t=$1
  local work="$build_dir/corpus/$t"
  local artifacts="$build_dir/artifacts"
  mkdir -p "$work" "$artifacts" "fuzz/corpus/$t"
  "$build_dir/fuzz/$t" "${limit[@]}" -print_final_stats=1 \
    -artifact_prefix="$artifacts/$t-" "$work" "fuzz/corpus/$t" >"$build_dir/$t.log" 2>&1
}
declare -A running=()
failed=()
finish_one() {
  local pid status=0
  wait -n -p pid || status=$?
  local t=${running[$pid]}
  unset "running[$pid]"
  echo "fuzz: $t (${limit[*]})"
  if ((status != 0)); then
    tail -n 40 "$build_dir/$t.log" >&2
    failed+=("$t")
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$build_dir/$t.log" || true
}
for t in "${targets[@]+"${targets[@]}"}"; do
  while ((${#running[@]} >= jobs)); do finish_one; done
  run_target "$t" &
  running[$!]=$t
done
while ((${#running[@]})); do finish_one; done

if ((${#failed[@]})); then
  echo "fuzz: invariants broken in: ${failed[*]} (inputs in $build_dir/artifacts)" >&2
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets passed"
