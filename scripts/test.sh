#!/usr/bin/env bash
# Installs the dependencies, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# into build/test and runs the whole test suite. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# ccache caches the compilations that use precompiled headers only with these relaxations. The
# precompiled headers hold platform headers only, whose macros and times do not change.
export CCACHE_SLOPPINESS=pch_defines,time_macros
# Assertion messages name their unit by its source path, which must reach the compiler whole:
# a ccache base folder would hand it a relative one.
export CCACHE_BASEDIR=
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON "${launcher[@]}"
cmake --build build/test -j "$jobs"
cd build/test
ctest --output-on-failure -j "$jobs" --timeout 600
