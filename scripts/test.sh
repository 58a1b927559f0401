#!/usr/bin/env bash
# Installs the dependencies, builds and runs the whole test suite. Exits non-zero on any
# failure.
#   bash scripts/test.sh            AddressSanitizer and UndefinedBehaviorSanitizer, Debug,
#                                   into build/test
#   bash scripts/test.sh --release  Release, no sanitizer, into build/release-test: the same
#                                   suite, as the optimiser and the plain allocator see it,
#                                   each program's tests in a random order and twice over, in a
#                                   temporary folder whose path is over 100 characters
set -euo pipefail
cd "$(dirname "$0")/.."
release=false
case "${1:-}" in
"") build=build/test options=(-DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON) ;;
--release)
    release=true
    build=build/release-test options=(-DCMAKE_BUILD_TYPE=Release -DVELMORA_SANITIZE=OFF)
    ;;
*)
    echo "usage: bash scripts/test.sh [--release]" >&2
    exit 2
    ;;
esac
bash scripts/install-deps.sh
# VELMORA_JOBS limits the parallel jobs on a shared machine.
jobs=${VELMORA_JOBS:-$(nproc)}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# ccache caches the compilations that use precompiled headers only with these relaxations. The
# precompiled headers hold platform headers only, whose macros and times do not change.
export CCACHE_SLOPPINESS=pch_defines,time_macros
# Assertion messages name their unit by its source path, which must reach the compiler whole:
# a ccache base folder would hand it a relative one.
export CCACHE_BASEDIR=
cmake -S . -B "$build" -G Ninja "${options[@]}" "${launcher[@]}"
cmake --build "$build" -j "$jobs"
cd "$build"
if $release; then
    # A test that counts on the order of the tests, on running once, or on a short temporary
    # folder fails here. The order is new on every run; a failure's output names its seed
    # ("Randomizing tests' orders with a seed of N"), which GTEST_RANDOM_SEED=N replays.
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    export TMPDIR="$scratch/a-temporary-folder-whose-path-is-longer-than-one-hundred-characters-as-some-users-have"
    mkdir -p "$TMPDIR"
    export GTEST_SHUFFLE=1 GTEST_REPEAT=2
fi
ctest --output-on-failure -j "$jobs" --timeout 600
