#!/bin/sh
# Installs what building, running and testing Korvala needs on Debian 12.
# Safe to run again: apt-get skips what is already there.
set -e
PACKAGES="build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libglib2.0-dev libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core xdg-utils dbus
  ccache unicode-data zlib1g-dev samba smbclient openssl rhash attr acl e2fsprogs ntfs-3g
  librsvg2-bin desktop-file-utils appstream lintian man-db groff-base fakeroot dpkg-dev file
  bash-completion python3 clang libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
fi
