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

scripts/setup.sh build
(cd build && ctest --output-on-failure --timeout 300 -j2)
scripts/check_package.sh build

# The logic and its tests under the sanitizers; the windows and the end-to-end tests ran
# above.
scripts/setup.sh build-asan -DZM_SANITIZE=ON -DZM_LOGIC_ONLY=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ctest --output-on-failure --timeout 300 -j2)

# A bounded fuzzing pass over every libFuzzer target's starting corpus (scripts/fuzz.sh
# runs them for longer).
scripts/fuzz.sh 15 --runs 20000
