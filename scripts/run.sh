#!/usr/bin/env bash
# Installs the dependencies, builds a Release editor into build/release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release
if [ -x build/release/bin/velmora ]; then
  exec build/release/bin/velmora "$@"
else
  echo "Built everything in build/release; the editor's entry point is not part of this build yet."
fi
