#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-check/, checks the formatting of the sources and runs every test.
# Exits non-zero when a test fails or a source is not formatted.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-packages.sh
cmake -S . -B build-check -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLIEDKRAM_SANITIZE=ON -DLIEDKRAM_TESTS=ON -DLIEDKRAM_BENCH=ON -DLIEDKRAM_STRICT=ON
cmake --build build-check
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
scripts/check-format.sh || status=$?
ctest --test-dir build-check --output-on-failure -j 2 || status=$?
scripts/list-skipped.sh build-check
exit $status
