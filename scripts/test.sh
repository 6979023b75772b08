#!/usr/bin/env bash
# Sets everything up, builds, and runs every test twice: a normal build and a build
# under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
# Qt's own start-up keeps a few allocations for the life of the process.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

scripts/setup.sh build
(cd build && ctest --output-on-failure --timeout 300 -j2)
scripts/check_package.sh build

scripts/setup.sh build-asan -DZM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-asan && ctest --output-on-failure --timeout 300 -j2)

# A bounded fuzzing pass over every libFuzzer target's starting corpus (scripts/fuzz.sh
# runs them for longer).
scripts/fuzz.sh 15 --runs 20000
