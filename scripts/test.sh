#!/usr/bin/env bash
# Sets up, builds once with warnings as errors and with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer, checks the formatting and runs every test headless in that build. One build rather than an
# ordinary one and a sanitized one: compiling takes most of the time, and the sanitized build sees all that
# the ordinary one would.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# -O1 with line tables only: quick to build, fast enough to run, and every report names its line.
"$here/scripts/setup.sh" "$here/build" -DZB_WERROR=ON -DZB_SANITIZE=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
cd "$here"
echo "== Formatting"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
scripts/count-lines.sh
cd "$here/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
