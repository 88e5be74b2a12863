#!/usr/bin/env bash
# Sets up what is missing, builds everything, and runs every test: the whole
# suite, then the core tests again under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELBRIN_SANITIZE=ON \
  -DKELBRIN_BUILD_GUI=OFF -DKELBRIN_BUILD_BENCH=OFF \
  -DKELBRIN_TEST_MEDIA_DIR="$PWD/build/test-media"
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")
