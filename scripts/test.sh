#!/usr/bin/env bash
# Sets everything up, builds, and runs every test twice: a normal build and a build
# under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
# Qt's own start-up keeps a few allocations for the life of the process.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# One compiler cache for every clone and build folder on this machine: paths below the
# clone are hashed relative to it, so a fresh clone elsewhere (CI's) rebuilds from the
# cache what has not changed.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1

# A second run in the same clone reruns only what changed: every stage that passed is
# stamped with the state of the sources it ran on (the commit's tree, the uncommitted
# changes and the untracked files), and a stage whose stamp matches is said and passed
# over. The builds always run (ninja rebuilds what changed). A fresh clone has no
# stamps; ZM_RETEST=1 runs every stage again.
source_state=$( { git rev-parse 'HEAD^{tree}'; git diff HEAD --binary;
                  git ls-files -z --others --exclude-standard | xargs -0r sha256sum; } |
                sha256sum | cut -d' ' -f1)
stamp_dir=build/.test-stamps
stage() {
  local name=$1
  shift
  if [ "${ZM_RETEST:-0}" != 1 ] && [ "$(cat "$stamp_dir/$name" 2>/dev/null)" = "$source_state" ]; then
    echo "test: $name passed on these very sources before; not run again (ZM_RETEST=1 runs it)"
    return 0
  fi
  "$@"
  mkdir -p "$stamp_dir"
  echo "$source_state" > "$stamp_dir/$name"
}

scripts/setup.sh build
stage tests bash -c 'cd build && ctest --output-on-failure --timeout 300 -j2'
stage package scripts/check_package.sh build

# The logic and its tests under the sanitizers; the windows and the end-to-end tests ran
# above.
scripts/setup.sh build-asan -DZM_SANITIZE=ON -DZM_LOGIC_ONLY=ON -DCMAKE_BUILD_TYPE=Debug
stage sanitizer-tests bash -c 'cd build-asan && ctest --output-on-failure --timeout 300 -j2'

# A bounded fuzzing pass over every libFuzzer target's starting corpus (scripts/fuzz.sh
# runs them for longer).
stage fuzz scripts/fuzz.sh 15 --runs 20000
