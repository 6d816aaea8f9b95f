#!/usr/bin/env bash
# Checks that the C++ sources follow .clang-format; names every file that
# does not and exits non-zero then. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
else
  mapfile -t files < <(find src tests bench -name '*.cpp' -o -name '*.h' | sort)
fi
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" > /dev/null 2>&1 || unformatted+=("$file")
done
if (( ${#unformatted[@]} > 0 )); then
  echo "Not formatted as .clang-format says (clang-format -i FILE):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "All ${#files[@]} sources formatted."
