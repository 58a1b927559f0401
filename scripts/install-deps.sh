#!/usr/bin/env bash
# Installs every package the build and the tests need. Idempotent: when all
# packages are present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev ccache pkg-config
  qt6-base-dev libqt6svg6-dev qt6-declarative-dev
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
  libxml2-dev libtar-dev zlib1g-dev libboost-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  tar gzip fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
