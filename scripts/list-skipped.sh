#!/usr/bin/env bash
# Lists the tests of the last ctest run in the build folder ($1) that
# skipped themselves, each with the reason it gave.
set -euo pipefail
log="$1/Testing/Temporary/LastTest.log"
[[ -f "$log" ]] || exit 0
skipped=$(awk '
  /^[0-9]+\/[0-9]+ Testing: / { name = $3; reason = "" }
  /: Skipped$/ { if ((getline line) > 0) reason = line }
  /^\[  SKIPPED \] [A-Za-z]/ && !(name in seen) { seen[name] = 1; printf "  %s: %s\n", name, reason }
' "$log")
if [[ -n "$skipped" ]]; then
  echo "Tests that skipped themselves, and why:"
  echo "$skipped"
fi
