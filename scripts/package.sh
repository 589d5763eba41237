#!/bin/sh
# Builds the Debian package korvala_VERSION_ARCH.deb in the top folder: a
# Release build of the two programs and the desktop files with Debian's
# hardening flags, in a build folder of its own, then cpack.
# Install it with: apt install ./korvala_*.deb
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
CXXFLAGS="${CXXFLAGS:--g0 -D_FORTIFY_SOURCE=2 -fstack-protector-strong}" \
LDFLAGS="${LDFLAGS:--Wl,-z,relro,-z,now}" \
  cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_TESTS=OFF
cmake --build build-package --target korvala korvala-cli korvala_desktop_files
(cd build-package && cpack -G DEB -B "$PWD/package")
cp build-package/package/korvala_*.deb .
ls korvala_*.deb
