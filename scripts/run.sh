#!/bin/sh
# Installs what is missing, builds Korvala in Release and starts it.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_TESTS=OFF
cmake --build build-release --target korvala korvala-cli
exec ./build-release/app/korvala "$@"
