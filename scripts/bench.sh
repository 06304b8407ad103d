#!/usr/bin/env bash
# Builds the program and its benchmarks and runs them all, printing one table against the targets.
# Runs under Xvfb when it is installed, else on Qt's offscreen platform.
# Usage: scripts/bench.sh [--display WIDTHxHEIGHT] [--short] [zb-bench options]
# --display sets the size of the virtual display (1024x768 unless given); the program fits it as on a board.
set -euo pipefail
display=1024x768
if [ "${1:-}" = --display ]; then
    display=$2
    shift 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
# A folder of its own: the test build has the sanitizers, which would be timed too.
build=${ZB_BUILD_DIR:-$here/build-bench}
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZB_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target zb-bench >/dev/null
if command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s "-screen 0 ${display}x24" "$build/bin/zb-bench" "$@"
else
    QT_QPA_PLATFORM=offscreen exec "$build/bin/zb-bench" "$@"
fi
