#!/usr/bin/env bash
# Installs what the project needs and builds the programs into build/bin/.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-packages.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLIEDKRAM_TESTS=OFF
cmake --build build
