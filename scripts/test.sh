#!/usr/bin/env bash
# Sets up, checks the formatting, builds with warnings as errors and runs every test headless; then builds
# again with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer (in build-sanitize) and runs
# every test there too. ZB_SKIP_SANITIZE=1 leaves out the second part.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# Line tables only: the warnings are the same as with full debug information, and the build is quicker.
"$here/scripts/setup.sh" "$here/build" -DZB_WERROR=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
cd "$here"
echo "== Formatting"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
scripts/count-lines.sh
cd "$here/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"

if [ "${ZB_SKIP_SANITIZE:-0}" != 1 ]; then
    echo "== The same tests under the sanitizers"
    # -O1 with line tables only: quick to build, fast enough to run, and every report names its line.
    generator=()
    [ -f "$here/build-sanitize/CMakeCache.txt" ] || generator=(-G Ninja)
    cmake -S "$here" -B "$here/build-sanitize" "${generator[@]}" -DZB_SANITIZE=ON -DZB_WERROR=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" >/dev/null
    cmake --build "$here/build-sanitize" -j"$(nproc)"
    cd "$here/build-sanitize"
    # The committed pictures are drawn and compared once, above; this build leaves out their drawing tool.
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -E '^pictures_test$'
fi
