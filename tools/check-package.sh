#!/usr/bin/env bash
# The Debian package from end to end: builds it in the build folder, lints it (lintian --pedantic:
# no error, no warning), validates its desktop entry and metainfo, installs it with apt, starts the
# installed player (version, a start with a container, a second start that hands a file over), then
# removes it and checks that nothing of it stays. The package is removed on every way out, so the
# machine is left as it was. Needs root, or sudo without a password.
# Usage: tools/check-package.sh [BUILD]   (`make test` runs it when it can)
set -euo pipefail
build=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo -n"
export DEBIAN_FRONTEND=noninteractive
apt_get() { $sudo apt-get -y -qq -o DPkg::Lock::Timeout=600 "$@"; }
step() { echo "check-package: $*"; }
fail() { echo "check-package: FAILED: $*" >&2; exit 1; }
# Runs a command with its output kept aside, and shows that output only when the command fails.
quietly() {
  "$@" >"$work/output" 2>&1 || { cat "$work/output" >&2; fail "$*"; }
}

if dpkg-query -W -f='${Status}' mirado 2>/dev/null | grep -q 'install ok installed'; then
  fail "mirado is installed on this machine already; this check would remove it"
fi

work=$(mktemp -d)
installed=no
packages_before=$work/packages-before
dpkg-query -W -f='${Package}\n' | sort >"$packages_before"
cleanup() {
  local status=$?
  [ -n "${player_pid:-}" ] && kill "$player_pid" 2>/dev/null && wait "$player_pid" 2>/dev/null
  if [ "$installed" = yes ]; then
    apt_get purge mirado >/dev/null || status=1
  fi
  # Whatever apt brought in for the package goes with it.
  local extra
  extra=$(dpkg-query -W -f='${Package}\n' | sort | comm -13 "$packages_before" -)
  [ -z "$extra" ] || apt_get purge $extra >/dev/null || status=1
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT

step "building the package"
quietly cmake --build "$build"
rm -f "$build"/mirado_*.deb
(cd "$build" && quietly cpack -G DEB)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/mirado_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb"

step "lintian --pedantic"
lintian --pedantic --display-info --fail-on error,warning "$deb" || fail "lintian finds errors or warnings"

step "desktop entry and metainfo as packaged"
dpkg-deb -x "$deb" "$work/tree"
desktop-file-validate "$work/tree/usr/share/applications/mirado-player.desktop"
# No network: the screenshots' host is not reachable from here.
appstreamcli validate-tree --no-net --pedantic "$work/tree"

step "installing"
installed=yes
quietly apt_get install --no-install-recommends "$deb"
files=$(dpkg-query -L mirado)
[ "$(/usr/bin/mirado-player --version)" = "mirado-player $version" ] || fail "mirado-player --version"
/usr/bin/mirado-player --help | grep -q '^Usage: mirado-player' || fail "mirado-player --help"
if command -v update-mime-database >/dev/null; then
  [ -f /usr/share/mime/application/x-mirado-container.xml ] || fail "the MIME type is not in the database"
fi

step "enciphering a clip with the installed mirado-pack and opening it in the installed player"
ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=10 -t 2 -pix_fmt yuv420p "$work/clip.mp4"
MIRADO_PASSWORD=package42 quietly /usr/bin/mirado-pack encrypt "$work/clip.mp4" "$work" --quiet
[ -f "$work/clip.pmpk" ] || fail "mirado-pack wrote no container"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="mirado.player.playlist.debug=true"
/usr/bin/mirado-player "$work/clip.pmpk" >"$work/player.log" 2>&1 &
player_pid=$!
waited=0
until grep -q "added $work/clip.pmpk" "$work/player.log"; do
  kill -0 "$player_pid" 2>/dev/null || { cat "$work/player.log"; fail "the installed player ended at start"; }
  [ $waited -lt 150 ] || fail "the installed player did not list the container"
  sleep 0.2
  waited=$((waited + 1))
done
# A second start hands its file to the running player and ends with 0.
timeout 20 /usr/bin/mirado-player "$work/clip.mp4" || fail "the second start did not end with 0"
waited=0
until grep -q "added $work/clip.mp4" "$work/player.log"; do
  [ $waited -lt 50 ] || fail "the running player did not take the handed-over file"
  sleep 0.2
  waited=$((waited + 1))
done
kill "$player_pid"
wait "$player_pid" 2>/dev/null || true
player_pid=""

step "removing"
quietly apt_get purge mirado
installed=no
while IFS= read -r path; do
  [ -d "$path" ] && continue
  [ ! -e "$path" ] || fail "$path stays after the removal"
done <<<"$files"
[ ! -e /usr/share/doc/mirado ] || fail "/usr/share/doc/mirado stays after the removal"
[ ! -e /usr/share/mime/application/x-mirado-container.xml ] || fail "the MIME type stays in the database"
if [ -f /usr/share/applications/mimeinfo.cache ] && grep -q mirado-player /usr/share/applications/mimeinfo.cache; then
  fail "the desktop entry stays in mimeinfo.cache"
fi
step "passed"
