#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh" "$here/build" -DZB_WERROR=OFF # warnings as errors are for CI
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found. To start it without one, run:"
    echo "  xvfb-run -a -s '-screen 0 1024x768x24' $here/build/bin/zestora-biology"
    exit 2
fi
exec "$here/build/bin/zestora-biology"
