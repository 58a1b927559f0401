#!/usr/bin/env bash
# Formats every C++ source of the project with the repository's .clang-format. With --check it
# changes nothing and fails, naming the files, when one is not formatted; the test suite runs
# that check. Run it before every commit.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' files < <(find . \( -path ./build -o -path './.*' \) -prune -o \
                               -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if [ "${1:-}" = --check ]; then
  unformatted=$(clang-format --dry-run "${files[@]}" 2>&1 |
                sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' |
                sort -u)
  [ -z "$unformatted" ] && exit 0
  printf "Not formatted (run scripts/format.sh):\n%s\n" "$unformatted"
  exit 1
else
  clang-format -i "${files[@]}"
fi
