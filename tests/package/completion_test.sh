#!/usr/bin/env bash
# Checks the bash completion of liedkram-cli against the program itself:
# every command, option, setting, column and answer it offers is one the
# program takes, the commands and settings are all there, and files are
# offered where a command wants a list file, a folder or any file.
#   completion_test.sh LIEDKRAM_CLI COMPLETION
set -uo pipefail
cli=$(realpath "$1")
completion=$(realpath "$2")

# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$completion"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
mkdir -p "$scratch/files/sub" "$scratch/runs" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
touch "$scratch/files/a.m3l" "$scratch/files/B.M3L" "$scratch/files/c.mp3"
cd "$scratch/files" || exit 1

# What the completion offers for the words given, the last one being typed
# (split at '=' as bash splits it); one per line, sorted.
offered() {
  COMP_WORDS=(liedkram-cli "$@")
  COMP_CWORD=$#
  COMP_LINE="liedkram-cli $*"
  COMP_LINE=${COMP_LINE// = /=}
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _liedkram_cli 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

# The program's answer to a command line: its status, and whether it took
# the words (a usage error names what it did not take). It runs in a folder
# of its own, so what it writes is not offered as a file.
run() {
  (cd "$scratch/runs" && "$cli" "$@" </dev/null >/dev/null 2>"$scratch/err")
}
rejected() {
  run "$@"
  [[ $? -eq 2 ]]
}

echo "--- commands"
commands=$(offered "")
usage_commands=$("$cli" --help | sed -n 's/^\(Usage\|  or\): liedkram-cli \([a-z]*\) .*/\2/p' | sort -u)
[[ $commands == "$usage_commands" ]] || fail "commands offered:
$commands
the usage text's:
$usage_commands"
for command in $commands; do
  run "$command"
  grep -q "unknown command" "$scratch/err" && fail "the program knows no command '$command'"
done
[[ $(offered "sc") == scan ]] || fail "'sc' completes to '$(offered sc)'"
for option in $(offered "-"); do
  run "$option" || fail "liedkram-cli $option exits $?"
done

echo "--- options"
value_of() {
  case $1 in
    --set) echo "ChkAll=1" ;;
    --list) echo "a.m3l" ;;
    --font) echo "DejaVu Sans" ;;
  esac
}
for command in $commands; do
  for option in $(offered "$command" "-"); do
    if [[ $option == *= ]]; then
      run "$command" "$option$(offered "$command" "${option%=}" "=" "" | head -n 1)"
    elif [[ -n $(value_of "$option") ]]; then
      run "$command" "$option" "$(value_of "$option")"
    else
      run "$command" "$option"
    fi
    grep -q "unknown option\|takes .*, not\|needs a value" "$scratch/err" &&
      fail "$command takes no $option: $(head -n 1 "$scratch/err")"
  done
done
[[ $(offered fix "--dry-run" "--re") == "--rename=" ]] || fail "fix --re completes to '$(offered fix --dry-run --re)'"
[[ $(offered scan "--s") == "--set" ]] || fail "scan --s completes to '$(offered scan --s)'"
[[ -z $(offered settings "-") ]] || fail "settings is offered options: $(offered settings -)"

echo "--- settings, columns, answers, formats"
settings=$("$cli" settings | sed 's/=.*//' | sort)
[[ -n $settings && $(offered settings "") == "$settings" ]] || fail "settings offered: $(offered settings "")"
[[ $(offered scan --set "") == "$(sed 's/$/=/' <<<"$settings")" ]] || fail "--set offers $(offered scan --set "")"
[[ $(offered scan --set "Cnv") == "$(grep '^Cnv' <<<"$settings" | sed 's/$/=/')" ]] || fail "--set Cnv"
[[ -z $(offered settings ChkAll "") ]] || fail "settings offers a value: $(offered settings ChkAll "")"

columns=$(offered sort a.m3l "")
[[ $(wc -l <<<"$columns") -eq 14 ]] || fail "sort offers $(wc -l <<<"$columns") columns"
while IFS= read -r column; do
  rejected sort list.m3l "$column" && fail "sort takes no column '$column'"
done <<<"$columns"
[[ $(offered sort a.m3l "G" | tr '\n' ' ') == "Genre Größe " ]] || fail "sort G offers $(offered sort a.m3l G)"

for answer in $(offered add "--dup" "=" ""); do
  rejected add "--dup=$answer" list.m3l missing.mp3 && fail "add takes no --dup=$answer"
done
[[ $(offered add "--dup" "=" "replace" | tr '\n' ' ') == "replace replace-all " ]] || fail "--dup=replace"
for answer in $(offered fix "--rename" "=" ""); do
  rejected fix "--rename=$answer" --dry-run missing.mp3 && fail "fix takes no --rename=$answer"
done
for format in $(offered export ""); do
  rejected export "$format" out missing.mp3 && fail "export takes no format $format"
done

echo "--- files"
lists=$'B.M3L\na.m3l\nsub'
for line in "list" "similar" "find" "add" "subtract" "sort" "move" "fix --list" "stats --list" \
  "export xls out --list" "cover out.bmp --set ChkAll=1 --list"; do
  # shellcheck disable=SC2086
  [[ $(offered $line "") == "$lists" ]] || fail "$line offers $(offered $line "" | tr '\n' ' ')"
done
everything=$'B.M3L\na.m3l\nc.mp3\nsub'
for line in "scan" "scan --" "fix --dry-run" "add a.m3l" "add a.m3l c.mp3" "stats" "export m3u out.m3u" \
  "cover out.bmp"; do
  # shellcheck disable=SC2086
  [[ $(offered $line "") == "$everything" ]] || fail "$line offers $(offered $line "" | tr '\n' ' ')"
done
[[ $(offered move a.m3l "") == sub ]] || fail "move LIST offers $(offered move a.m3l "" | tr '\n' ' ')"
[[ $(offered scan -- "-") == "" ]] || fail "scan -- - offers $(offered scan -- -)"
for line in "fix --list a.m3l" "export xls out --list a.m3l" "history" "undo" "redo" "find a.m3l"; do
  # shellcheck disable=SC2086
  [[ -z $(offered $line "") ]] || fail "$line offers $(offered $line "" | tr '\n' ' ')"
done

if ((failures > 0)); then
  echo "$failures checks failed"
  exit 1
fi
echo "every check passed"
