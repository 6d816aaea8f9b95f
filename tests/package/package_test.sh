#!/usr/bin/env bash
# Builds the Debian package as scripts/package.sh does, unpacks it into a
# scratch root and checks what it installs with the tools that read it:
# lintian, dpkg, man, desktop-file-validate, appstreamcli,
# update-mime-database, bash-completion, and the installed programs.
#   package_test.sh SOURCE_DIR WORK_DIR PROJECT_VERSION
set -euo pipefail
source_dir=$1
work=$2
version=$3

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

mkdir -p "$work"
package=$(nice -n 19 "$source_dir/scripts/package.sh" "$work/build" | tail -n 1)
echo "package: $package ($(stat -c %s "$package") bytes)"

arch=$(dpkg --print-architecture)
[[ $(basename "$package") == "liedkram_${version}_${arch}.deb" ]] || fail "package named $(basename "$package")"
[[ $(dpkg-deb -f "$package" Version) == "$version" ]] || fail "package version $(dpkg-deb -f "$package" Version)"
# dpkg-shlibdeps found the libraries the programs link.
depends=$(dpkg-deb -f "$package" Depends)
for library in libqt6widgets6 libqt6core6 libstdc++6 libc6; do
  [[ $depends == *"$library "* ]] || fail "no dependency on $library: $depends"
done

echo "--- lintian"
lintian_log=$work/lintian.log
if ! lintian --allow-root --fail-on error,warning --display-info --pedantic "$package" >"$lintian_log" 2>&1; then
  fail "lintian"
fi
cat "$lintian_log"

root=$work/root
rm -rf "$root"
mkdir -p "$root"
dpkg -x "$package" "$root"

completions=$(pkg-config --variable=completionsdir bash-completion)
for file in usr/bin/liedkram usr/bin/liedkram-cli \
  usr/share/applications/liedkram.desktop usr/share/mime/packages/liedkram-list.xml \
  usr/share/metainfo/org.example.liedkram.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/liedkram.svg usr/share/icons/hicolor/48x48/apps/liedkram.png \
  usr/share/icons/hicolor/256x256/apps/liedkram.png \
  usr/share/man/man1/liedkram.1.gz usr/share/man/man1/liedkram-cli.1.gz \
  "${completions#/}/liedkram-cli" usr/share/doc/liedkram/copyright usr/share/doc/liedkram/changelog.gz; do
  [[ -f $root/$file ]] || fail "not installed: /$file"
done

echo "--- the installed programs"
cli=$root/usr/bin/liedkram-cli
help=$("$cli" --help) || fail "liedkram-cli --help exits $?"
[[ $help == "Usage: liedkram-cli scan "* ]] || fail "liedkram-cli --help: ${help:0:80}"
[[ $("$cli" --version) == "liedkram-cli $version" ]] || fail "liedkram-cli --version: $("$cli" --version)"
zcat "$root/usr/share/doc/liedkram/changelog.gz" >"$work/changelog"
changelog_version=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[[ $changelog_version == "$version" ]] || fail "changelog of version $changelog_version"
# The desktop program on its own: its settings, its single-instance socket.
scratch=$work/scratch
rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
status=0
(cd "$scratch" && env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" \
  XDG_DATA_HOME="$scratch/home/.local/share" XDG_RUNTIME_DIR="$scratch/runtime" TMPDIR="$scratch/runtime" \
  QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/liedkram") || status=$?
[[ $status -eq 124 ]] || fail "liedkram ended by itself within 3 s (status $status)"

echo "--- the manual pages"
for page in liedkram liedkram-cli; do
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>"$work/man.err") ||
    fail "man -l $page.1.gz"
  [[ -s $work/man.err ]] && fail "man warns about $page.1: $(cat "$work/man.err")"
  for needed in NAME SYNOPSIS DESCRIPTION FILES "SEE ALSO" "CD_Cover erstellen/Liedkram.conf" \
    "~/.local/share/liedkram/" "XDG_DATA_HOME" "TOP/.liedkram-backup-UID/"; do
    [[ $text == *"$needed"* ]] || fail "$page.1 lacks '$needed'"
  done
done
# The page's synopsis is the usage text's, every line of it.
synopsis=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/liedkram-cli.1.gz" |
  sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' | sed -n 's/^ *\(liedkram-cli .*\)$/\1/p' | tr -s ' ')
usage=$(sed -n 's/^\(Usage\|  or\): \(liedkram-cli .*\)$/\2/p' <<<"$help" | tr -s ' ')
[[ -n $usage && $synopsis == "$usage" ]] || fail "the manual page's synopsis is not the usage text's:
$synopsis"
page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/liedkram-cli.1.gz")
for needed in OPTIONS "Exit status:" EXAMPLES "--dry-run" "--purge" "--version"; do
  [[ $page == *"$needed"* ]] || fail "liedkram-cli.1 lacks '$needed'"
done

echo "--- desktop entry, software centre entry, MIME type"
validation=$(desktop-file-validate "$root/usr/share/applications/liedkram.desktop" 2>&1) ||
  fail "desktop-file-validate"
[[ -z $validation ]] || fail "desktop-file-validate: $validation"
appstreamcli validate-tree --no-net --pedantic --strict "$root" || fail "appstreamcli validate-tree"
metainfo=$root/usr/share/metainfo/org.example.liedkram.metainfo.xml
grep -q "<release version=\"$version\" date=\"[0-9-]*\"/>" "$metainfo" || fail "the metainfo names no release $version"
XDG_DATA_DIRS="$root/usr/share" update-mime-database "$root/usr/share/mime" 2>"$work/mime.err" || fail "update-mime-database"
[[ -s $work/mime.err ]] && fail "update-mime-database: $(cat "$work/mime.err")"
grep -q 'glob pattern="\*.m3l"' "$root/usr/share/mime/application/x-liedkram-list.xml" ||
  fail "the MIME database has no *.m3l list file type"

echo "--- the installed completion"
# shellcheck disable=SC2016
offered=$(bash -c 'source /usr/share/bash-completion/bash_completion; source "$1"
  COMP_WORDS=(liedkram-cli sett); COMP_CWORD=1; COMP_LINE="liedkram-cli sett"; COMP_POINT=${#COMP_LINE}
  complete -p liedkram-cli >/dev/null && _liedkram_cli && echo "${COMPREPLY[*]}"' bash "$root/$completions/liedkram-cli")
[[ $offered == settings ]] || fail "the installed completion completes 'sett' to '$offered'"

if ((failures > 0)); then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "every check passed"
