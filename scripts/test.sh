#!/bin/sh
# Installs what is missing, builds Korvala with its tests and runs every test.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2
