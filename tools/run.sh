#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the editor with any arguments given.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target kelbrin capturon
exec ./build/bin/kelbrin "$@"
