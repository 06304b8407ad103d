#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# Only the program: warnings as errors and the sanitizers are for CI, the tests and benchmarks for later.
ZB_TARGET=zestora-biology "$here/scripts/setup.sh" "$here/build" -DZB_WERROR=OFF -DZB_SANITIZE=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found. To start it without one, run:"
    echo "  xvfb-run -a -s '-screen 0 1024x768x24' $here/build/bin/zestora-biology"
    exit 2
fi
exec "$here/build/bin/zestora-biology"
