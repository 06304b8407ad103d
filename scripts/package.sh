#!/usr/bin/env bash
# Builds the Debian package zestora-biology_<version>_<arch>.deb in the build folder and checks it with
# lintian, which lists every tag it finds and fails on an error or a warning. It installs only what building
# the package needs and builds only what the package holds.
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# A folder of its own: the test build has the sanitizers, which must not reach the package.
build=${1:-$here/build-package}

packages=(cmake g++ ninja-build lld qt6-base-dev qt6-base-private-dev libgl-dev libxcb1-dev dpkg-dev file lintian)
"$here/scripts/install-packages.sh" "${packages[@]}"

generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_SANITIZE=OFF >/dev/null
cmake --build "$build" --target zestora-biology programdata packagedocs
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
deb=$(ls -t "$build"/zestora-biology_*.deb | head -1)
lintian --info --display-info --pedantic --fail-on error,warning "$deb"
echo "Package: $deb"
