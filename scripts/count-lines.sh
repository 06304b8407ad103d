#!/usr/bin/env bash
# Non-blank lines of test code against the rest of the code (C++, CMake, shell), and their ratio.
# Test code: everything under tests/ and any other source named test_* or *_test.*.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.cmake' '*CMakeLists.txt' '*.sh')
pattern='^tests/|(^|/)test_[^/]*$|_test\.[^/]*$'
count() { grep -E "$@" <<<"$files" | tr '\n' '\0' | xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true; }
tests=$(count "$pattern")
rest=$(count -v "$pattern")
echo "Test code: $tests lines; other code: $rest lines; ratio $(awk "BEGIN { printf \"%.2f\", $tests / $rest }")"
