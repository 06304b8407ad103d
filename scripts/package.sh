#!/usr/bin/env bash
# Builds the Debian package zestora-biology_<version>_<arch>.deb in the build folder and checks it with
# lintian, which lists every tag it finds and fails on an error or a warning. It installs only what building
# the package needs and builds only what the package holds.
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}

packages=(cmake g++ ninja-build lld qt6-base-dev qt6-base-private-dev libgl-dev dpkg-dev file lintian)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target zestora-biology programdata packagedocs
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
deb=$(ls -t "$build"/zestora-biology_*.deb | head -1)
lintian --info --display-info --pedantic --fail-on error,warning "$deb"
echo "Package: $deb"
