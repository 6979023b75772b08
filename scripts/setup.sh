#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing, then
# configures and builds. Usage: scripts/setup.sh [build-dir] [extra cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."

# xvfb and xauth: xvfb-run, which the demo offers when there is no display (xvfb
# only recommends xauth, and xvfb-run fails without it). fonts-dejavu-core: the
# windows size their controls from the dialog font's metrics, offscreen in the tests
# too, so a font must be there. imagemagick, dpkg-dev, file, desktop-file-utils,
# appstream, x11-utils, man-db: scripts/check_package.sh builds, unpacks and validates
# the package, compares the icons and finds the windows. libtomlplusplus-dev,
# libcli11-dev, nlohmann-json3-dev: Corvane's test plans, command line and JSON report.
# libcurl4-openssl-dev, libssl-dev: Halvard's test e-mail; python3-aiosmtpd and openssl: the
# loopback SMTP servers and certificates its tests start. openbox: a window manager for
# trying the windows under Xvfb. xdotool: the demo clicks the window with it when there
# is no display (scripts/demo.sh).
packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev xvfb xauth
          imagemagick fonts-dejavu-core ccache
          dpkg-dev file desktop-file-utils appstream x11-utils man-db clang-14 libclang-rt-14-dev
          libtomlplusplus-dev libcli11-dev nlohmann-json3-dev libcurl4-openssl-dev libssl-dev
          python3-aiosmtpd openssl ca-certificates openbox xdotool)
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

build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir"
