#!/bin/sh
# Installs the Debian packages the build and the tests need; quiet and quick
# when they are all there already.
set -eu

PACKAGES="cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev googletest xz-utils gzip clang libclang-rt-14-dev qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev fonts-dejavu-core xdg-utils"

missing=""
for package in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
