#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs one or
# all of them: ./fuzz.sh [TARGET] [SECONDS]   (TARGET: load, list, text,
# rewrite, fixList or all; SECONDS per target, default 60). Each runs on a working
# copy of its seed corpus (tests/data/fuzz/fuzz_TARGET); what it finds lands
# in build-fuzz/findings/fuzz_TARGET/. Prints executions, executions per
# second, coverage and findings per target.
set -euo pipefail
cd "$(dirname "$0")"

target=${1:-all}
seconds=${2:-60}

packages=(clang libclang-rt-14-dev cmake ninja-build qt6-base-dev)
missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

case "$target" in
  all) targets=(load list text rewrite fixList) ;;
  load|list|text|rewrite|fixList) targets=("$target") ;;
  *) echo "usage: ./fuzz.sh [load|list|text|rewrite|fixList|all] [SECONDS]" >&2; exit 2 ;;
esac

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DLIEDKRAM_FUZZ=ON -DLIEDKRAM_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

# Files the targets write go to memory when it can hold them.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for name in "${targets[@]}"; do
  fuzzer=fuzz_$name
  corpus=build-fuzz/corpus/$fuzzer
  findings=build-fuzz/findings/$fuzzer
  mkdir -p "$corpus" "$findings"
  cp -n tests/data/fuzz/$fuzzer/* "$corpus"/
  log=build-fuzz/$fuzzer.log
  # Texts longer than a file name or a tag field teach nothing new and only
  # slow the run; MP3 inputs keep room for a tag with a small picture.
  case "$name" in
    text) max_len=1024 ;;
    list|fixList) max_len=4096 ;;
    *) max_len=32768 ;;
  esac
  set +e
  build-fuzz/bin/$fuzzer "$corpus" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 \
    -artifact_prefix="$findings/" -rss_limit_mb=2048 >"$log" 2>&1
  result=$?
  set -e
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  found=$(find "$findings" -type f | wc -l)
  printf '%-14s executions %10s   %6s exec/s   %-20s findings %s\n' "$fuzzer" "$runs" "$rate" "$coverage" "$found"
  if [[ $result -ne 0 || $found -gt 0 ]]; then
    echo "  see $log and $findings/" >&2
    status=1
  fi
done
exit $status
