#!/usr/bin/env bash
# Installs the Debian packages listed in tools/deps.txt (or in the list given) that are missing. Needs root (or sudo) only when
# something is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
list=${1:-$here/deps.txt}
mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$list")
missing=()
for pkg in "${wanted[@]}"; do
  # NodeSource's nodejs brings its own npm, which Debian's npm package would conflict with.
  [ "$pkg" = npm ] && command -v npm >/dev/null && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
