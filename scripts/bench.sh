#!/usr/bin/env bash
# Builds the program and its benchmarks and runs them all, printing one table against the targets.
# Runs under Xvfb when it is installed, else on Qt's offscreen platform.
# Usage: scripts/bench.sh [--short] [zb-bench options]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ZB_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target zb-bench >/dev/null
if command -v xvfb-run >/dev/null; then
    exec xvfb-run -a -s '-screen 0 1024x768x24' "$build/bin/zb-bench" "$@"
else
    QT_QPA_PLATFORM=offscreen exec "$build/bin/zb-bench" "$@"
fi
