#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of
# src/, using the compile commands of a configured build folder
# (./scripts/tidy.sh [BUILD_DIR], default build-check). Exits non-zero when
# it finds anything.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
if ! command -v run-clang-tidy > /dev/null; then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends clang-tidy
fi
[[ -f "$build/compile_commands.json" ]] || { echo "No $build/compile_commands.json: configure $build first (./test.sh does)."; exit 2; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "$PWD/src/.*\.cpp$" > "$log" 2>&1 || status=$?
grep -v "warnings generated" "$log" || true
exit $status
