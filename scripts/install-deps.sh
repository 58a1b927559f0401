#!/usr/bin/env bash
# Installs every package the build and the tests need. Idempotent: when all
# packages are present it only checks and returns, touching no package list.
#
# Every name below must be a real package, never a virtual one (a name that only
# other packages provide): dpkg never reports a virtual name as installed, so it
# would send every run to apt-get. The script stops when a name is still missing
# after the installation, so that such a name is noticed at once.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev lld clang-format ccache pkg-config
  qt6-base-dev qt6-svg-dev qt6-declarative-dev
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
  libxml2-dev libtar-dev zlib1g-dev libboost-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  tar gzip xz-utils bzip2 zstd zip fonts-dejavu-core python3
  xvfb xauth xdotool
)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

read -r -a missing <<< "$(missing_packages | tr '\n' ' ')"
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

read -r -a missing <<< "$(missing_packages | tr '\n' ' ')"
if [ ${#missing[@]} -ne 0 ]; then
  echo "install-deps.sh: not installed after apt-get: ${missing[*]} (a virtual package name?)" >&2
  exit 1
fi
