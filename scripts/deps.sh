#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quiet and quick
# when they are all present already.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config make
  qt6-base-dev libserialport-dev
  qt6-charts-dev libqt6opengl6-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra xvfb xauth
  desktop-file-utils appstream dpkg-dev
  clang libclang-rt-dev
  ccache
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
