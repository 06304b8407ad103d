#!/usr/bin/env bash
# Builds the Debian package zestora-biology_<version>_<arch>.deb in the build folder (after scripts/setup.sh
# has installed what the build needs), and checks it with lintian when lintian is installed.
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
"$here/scripts/setup.sh" "$build"
cmake --build "$build" --target package
deb=$(ls -t "$build"/zestora-biology_*.deb | head -1)
if command -v lintian >/dev/null; then lintian --info "$deb"; fi
echo "Package: $deb"
