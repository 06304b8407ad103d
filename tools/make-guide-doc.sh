#!/bin/sh
# Rebuilds "docs/Teacher Guide.doc" from the tables the Teachers' Guide pages are drawn from: writes the guide as
# HTML with tools/guidedoc, then has LibreOffice save it as a Word 97-2003 document. Run it after changing any text
# of the guide, and commit both; the program's build and tests do not need LibreOffice, and a test checks that the
# HTML kept beside the document is what guidedoc writes now.
#   tools/make-guide-doc.sh [BUILD_DIR]        (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

if ! command -v soffice >/dev/null 2>&1; then
    echo "LibreOffice is needed: apt-get install --no-install-recommends libreoffice-writer-nogui" >&2
    exit 1
fi

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target guidedoc -j2 >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/guidedoc" "$work/Teacher Guide.html"
# Writer's own HTML import (not Writer/Web, which cannot save as Word), and a private profile so that a running
# LibreOffice does not get in the way.
soffice --headless --norestore "-env:UserInstallation=file://$work/profile" \
    --infilter="HTML (StarWriter)" --convert-to "doc:MS Word 97" --outdir "$work" "$work/Teacher Guide.html" >/dev/null
mkdir -p "$root/docs"
mv "$work/Teacher Guide.doc" "$root/docs/Teacher Guide.doc"
cp "$work/Teacher Guide.html" "$root/docs/Teacher Guide.html"
echo "$root/docs/Teacher Guide.doc"
