#!/usr/bin/env bash
# Regenerates the README's gallery, docs/gallery/*.png: builds the acceptance scenarios and runs
# them on a virtual X server with VELMORA_GALLERY set, so that they save their screenshots there
# as they go.
#   bash scripts/make_gallery.sh [build folder]    (default build/release, else build/test)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-}
if [ -z "$build" ]; then
    build=build/release
    [ -f "$build/build.ninja" ] || build=build/test
fi
[ -f "$build/build.ninja" ] || {
    echo "no build in $build: configure one first (see README)" >&2
    exit 2
}
command -v xvfb-run >/dev/null || {
    echo "xvfb-run is missing: bash scripts/install-deps.sh installs it" >&2
    exit 2
}
cmake --build "$build" --target acceptance_scenarios
mkdir -p docs/gallery
rm -f docs/gallery/*.png
cd "$build/tests"
# The leak checker's list of Qt's own allocations, for a sanitizer build.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
VELMORA_GALLERY="$root/docs/gallery" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s '-screen 0 1280x1024x24' ./acceptance_scenarios
ls -l "$root/docs/gallery"
