#!/bin/sh
# Installs what is missing, builds Korvala with its tests and runs every test
# twice: once in the Release build users get, once built with clang and the
# address and undefined-behaviour sanitizers, where the fuzz targets also run
# over their seed corpora.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALA_BUILD_TESTS=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-san -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" -DKORVALA_BUILD_TESTS=ON -DKORVALA_SANITIZE=ON -DKORVALA_FUZZ=ON
cmake --build build-san
ctest --test-dir build-san --output-on-failure -j2
