#!/usr/bin/env bash
# Builds the Debian package from a configured and built build directory and checks it as
# an installer would meet it: its dependencies and files, the desktop entries, metainfo,
# each program's own icon, the compressed man pages, /usr/share/doc/zm40-tools (README,
# docs, copyright, changelog.gz), --help and --version, and each program started from
# its menu launcher's Exec line under Xvfb, working in the shared folder under a scratch
# home.
# Usage: scripts/check_package.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
root_dir=$(pwd)
build_dir=${1:-build}
case "$build_dir" in /*) ;; *) build_dir="$root_dir/$build_dir" ;; esac

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zmpackage.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "check_package: FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "check_package: ok: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ -n "$version" ] || { echo "check_package: $build_dir is not configured" >&2; exit 1; }

# --- The package -------------------------------------------------------------------
cmake --build "$build_dir" --target corvane halvard zmsim zm_icons zm_compressed > "$scratch/build.log" 2>&1 ||
  { cat "$scratch/build.log" >&2; exit 1; }
(cd "$build_dir" && cpack -G DEB -B "$scratch/pkg") > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$(ls "$scratch"/pkg/*.deb)
echo "check_package: built $(basename "$deb")"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
  [[ "$depends" == *"$lib "* || "$depends" == *"$lib," || "$depends" == *"$lib" ]] ||
    fail "Depends lacks $lib: $depends"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' | sort > "$scratch/files"
expected=(/usr/bin/corvane /usr/bin/halvard /usr/bin/zmsim
          /usr/share/applications/corvane.desktop /usr/share/applications/halvard.desktop)
doc=/usr/share/doc/zm40-tools
expected+=("$doc/README.md" "$doc/copyright" "$doc/changelog.gz")
for page in docs/*.md docs/*.png; do expected+=("$doc/$page"); done
for program in corvane halvard zmsim; do
  expected+=("/usr/share/man/man1/$program.1.gz" "/usr/share/icons/hicolor/scalable/apps/$program.svg")
  for size in 16 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$program.png")
  done
done
for file in "${expected[@]}"; do
  grep -qx "$file" "$scratch/files" || fail "the package lacks $file"
done
[ "$(grep -c '^/usr/share/metainfo/.*\.metainfo\.xml$' "$scratch/files")" = 3 ] ||
  fail "the package should hold three metainfo files"
# Nothing of the build or the tests: only the programs and their data under /usr.
unexpected=$(grep -v -E '^/usr(/bin(/(corvane|halvard|zmsim))?|/share(/(applications|metainfo|icons|man|doc)(/.*)?)?)?$' \
  "$scratch/files" || true)
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"
pass "package $(basename "$deb"): Depends: $depends"

dpkg-deb -x "$deb" "$scratch/root"
usr="$scratch/root/usr"

# --- Desktop entries, metainfo, icons, man pages ------------------------------------
for program in corvane halvard; do
  desktop="$usr/share/applications/$program.desktop"
  desktop-file-validate "$desktop" || fail "desktop-file-validate $program.desktop"
  key() { sed -n "s/^$1=//p" "$desktop"; }
  [ "$(key Exec)" = "$program --desktop" ] || fail "$program.desktop: Exec is '$(key Exec)'"
  [ "$(key Icon)" = "$program" ] || fail "$program.desktop: Icon is '$(key Icon)'"
  [ -n "$(key Keywords)" ] && [ -n "$(key Categories)" ] || fail "$program.desktop: no Keywords or Categories"
  metainfo=$(grep -l "<launchable type=\"desktop-id\">$program.desktop<" "$usr"/share/metainfo/*.xml || true)
  [ -n "$metainfo" ] || fail "no metainfo launches $program.desktop"
done
appstreamcli validate --no-net --pedantic "$usr"/share/metainfo/*.metainfo.xml > "$scratch/appstream.log" 2>&1 ||
  { cat "$scratch/appstream.log" >&2; fail "appstreamcli validate"; }
icons="$usr/share/icons/hicolor"
rmses=""
for program in corvane halvard zmsim; do
  for size in 16 32 48 64 128 256; do
    got=$(identify -format '%wx%h' "$icons/${size}x${size}/apps/$program.png")
    [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} $program icon is $got"
  done
  # Each SVG is written by hand to match its window icon's drawing: they must not drift.
  convert -background none -density 768 "$icons/scalable/apps/$program.svg" \
    -resize 256x256 "$scratch/$program-svg256.png"
  rmse=$( (compare -metric RMSE "$icons/256x256/apps/$program.png" "$scratch/$program-svg256.png" \
    null: 2>&1 || true) | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
  awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.1) }' ||
    fail "the $program SVG icon differs from its PNG (RMSE $rmse)"
  rmses+="$program $rmse "
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$program.1.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "man page $program.1.gz: $warnings"
  gzip -t "$usr/share/man/man1/$program.1.gz" || fail "$program.1.gz is not gzip"
done
# Each program is told apart in a menu and a task bar by its icon.
distinct=$(for program in corvane halvard zmsim; do md5sum < "$icons/48x48/apps/$program.png"; done | sort -u | wc -l)
[ "$distinct" = 3 ] || fail "the three programs do not have three different icons"
pass "desktop entries, metainfo, three icons (SVG RMSE ${rmses% }) and compressed man pages"

# --- /usr/share/doc/zm40-tools --------------------------------------------------------
docdir="$scratch/root$doc"
zcat "$docdir/changelog.gz" > "$scratch/changelog" || fail "changelog.gz is not gzip"
[ "$(dpkg-parsechangelog -l "$scratch/changelog" -S Source 2>/dev/null)" = zm40-tools ] ||
  fail "changelog.gz does not parse as a Debian changelog of zm40-tools"
[ "$(dpkg-parsechangelog -l "$scratch/changelog" -S Version 2>/dev/null)" = "$version" ] ||
  fail "the changelog's newest entry is not version $version"
head -n1 "$docdir/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in Debian's machine-readable format"
cmp -s "$docdir/README.md" README.md || fail "the README in $doc is not the project's"
pass "$doc: README.md, $(find "$docdir/docs" -type f | wc -l) pages and pictures, copyright, changelog.gz"

# --- --help and --version, without a display -----------------------------------------
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
for program in corvane halvard; do
  out=$("${nodisplay[@]}" "$usr/bin/$program" --version) || fail "$program --version failed"
  [ "$out" = "$program $version" ] || fail "$program --version says '$out'"
  out=$(cd "$scratch" && "${nodisplay[@]}" "$usr/bin/$program" --help) || fail "$program --help failed"
  [[ "$out" == *"usage: $program"* && "$out" == *"Working folder: $scratch (the current directory)"* ]] ||
    fail "$program --help: $out"
  status=0
  "${nodisplay[@]}" "$usr/bin/$program" --no-such-option 2> "$scratch/err" || status=$?
  [ "$status" = 2 ] && grep -q "unknown option" "$scratch/err" || fail "$program refuses no unknown option"
done
out=$("$usr/bin/zmsim" --help) || fail "zmsim --help failed"
[[ "$out" == *"usage: zmsim"* ]] || fail "zmsim --help: $out"
if [[ "$out" == *"--version"* ]]; then
  out=$("$usr/bin/zmsim" --version) || fail "zmsim --version failed"
  [[ "$out" == *"$version"* ]] || fail "zmsim --version says '$out'"
else
  echo "check_package: note: zmsim has no --version yet"
fi
pass "--help and --version"

# --- Each program from its launcher, under Xvfb ------------------------------------------
# A menu starts a program in the home folder with the desktop's environment: the program
# must work in the shared folder, leave the home folder alone, and show its window.
launch() {  # program window-class data-dir [XDG_DATA_HOME]
  local program=$1 class=$2 shared="$3/zm40" failures_before=$failures
  local desktop="$usr/share/applications/$program.desktop"
  local home="$scratch/home-$program"
  mkdir -p "$home" "$scratch/runtime-$program"
  chmod 700 "$scratch/runtime-$program"
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  [[ "$exec_line" != *%* ]] || { fail "$program.desktop: Exec has field codes"; return; }
  local -a command
  read -r -a command <<< "$exec_line"
  local -a environment=(HOME="$home" XDG_RUNTIME_DIR="$scratch/runtime-$program" PATH="$usr/bin:$PATH")
  [ -n "${4:-}" ] && environment+=(XDG_DATA_HOME="$4")
  (cd "$home" && exec env -u QT_QPA_PLATFORM -u XDG_DATA_HOME "${environment[@]}" "${command[@]}") \
    > "$scratch/$program.out" 2>&1 &
  local pid=$! cwd=""
  for _ in $(seq 50); do
    cwd=$(readlink "/proc/$pid/cwd" 2>/dev/null || true)
    [ "$cwd" = "$shared" ] && break
    sleep 0.1
  done
  sleep 3  # start-up: the port search, the settings files, the window
  if ! kill -0 "$pid" 2>/dev/null; then
    fail "$program from its launcher ended early: $(cat "$scratch/$program.out")"
    return
  fi
  [ "$cwd" = "$shared" ] || fail "$program from its launcher works in '$cwd', not $shared"
  for folder in "$shared/program" "$shared/programEmail"; do
    [ -d "$folder" ] || fail "$program from its launcher did not make $folder"
  done
  local made
  made=$(find "$shared" -type f -newer "$desktop" -printf '%P ' 2>/dev/null || true)
  [ -n "$made" ] || fail "$program from its launcher wrote nothing in $shared"
  local stray
  stray=$(find "$home" -mindepth 1 -not -path "$home/.local*" -printf '%P ' || true)
  [ -z "$stray" ] || fail "$program from its launcher left files in the home folder: $stray"
  xwininfo -root -tree | grep -F "(\"$program\" \"$class\")" > "$scratch/$program.window" ||
    fail "$program from its launcher shows no window of class $class"
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  ((failures == failures_before)) || return 0
  pass "$program from its launcher: works in $shared, wrote $made; window $(awk '{print $(NF-1)}' "$scratch/$program.window" | head -1)"
}

# Corvane with XDG_DATA_HOME set, Halvard with the default under the home folder.
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c "$(declare -f launch fail pass)
  set -u; usr='$usr' scratch='$scratch' failures=0
  launch corvane Corvane '$scratch/xdg-data' '$scratch/xdg-data'
  launch halvard Halvard '$scratch/home-halvard/.local/share'
  exit \$failures" || failures=$((failures + $?))

if ((failures)); then
  echo "check_package: $failures check(s) failed" >&2
  exit 1
fi
echo "check_package: all checks passed for $(basename "$deb")"
