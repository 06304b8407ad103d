#!/usr/bin/env bash
# Installs what the program needs to build, run and test on Debian 12 or 13, then configures and builds it.
# Usage: scripts/setup.sh [build-dir] [cmake options...]; ZB_TARGET=NAME builds only that target and what it needs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
shift $(($# > 0 ? 1 : 0))

packages=(cmake g++ make ninja-build lld qt6-base-dev qt6-base-private-dev qt6-base-dev-tools libgl-dev libxcb1-dev
          clang-format fonts-liberation2 fonts-wine fonts-dejavu-core
          xvfb xauth xdotool x11-utils x11-xserver-utils desktop-file-utils appstream
          dpkg-dev file openbox xfwm4 dbus poppler-utils)
"$here/scripts/install-packages.sh" "${packages[@]}"

# A new build folder uses Ninja; one made earlier keeps the generator it was made with.
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" ${ZB_TARGET:+--target "$ZB_TARGET"}
