#!/usr/bin/env bash
# Makes the Debian package from a build with CPack, unpacks it into a
# scratch folder and checks it as it would be installed: the package's name,
# fields and file list; lintian finds nothing above information level, no
# hardening flag missing and no section left that Debian strips; the
# changelog is the package's; the unpacked brenvik-cli runs; the program in
# /usr/bin finds the help file in /usr/share/brenvik; the menu entry and the
# software-centre file pass their validators and name what the package holds;
# the manual pages render without a warning and describe every command and
# option that `brenvik-cli --help` lists.
# usage: package_test.sh BUILD_DIR SCRATCH_DIR VERSION SOURCE_DIR HELP_LOOKUP
set -euo pipefail
build=$1 scratch=$2 version=$3 source=$4 help_lookup=$5

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
need() {
  command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (./test.sh installs $2)" >&2; exit 1; }
}
need cpack cmake
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need file file
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need man man-db
need lintian lintian
need dpkg-parsechangelog dpkg-dev

rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
deb=$scratch/cpack/brenvik_${version}_amd64.deb
[[ -f $deb ]] || { ls "$scratch/cpack" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }

# --- Fields ---------------------------------------------------------------
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == brenvik ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version), expected $version"
[[ $(field Architecture) == amd64 ]] || fail "Architecture: $(field Architecture)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
description=$(field Description)
grep -q 'C-test' <<<"$description" || fail "the description does not say what the program does"
# A CMake list that slipped into a field shows as semicolons.
[[ $description != *';'* ]] || fail "the description holds a list separator: $description"
# The extended description is a paragraph or more, as lintian reads it.
(( $(wc -l <<<"$description") >= 4 )) || fail "the extended description is one line: $description"
depends=$(field Depends)
echo "Depends: $depends"
# The libraries come from the binaries; the rest no link shows.
depends_names=" $(sed -E 's/ *\([^)]*\)//g; s/,/ /g' <<<"$depends") "
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
                  qt6-translations-l10n fonts-liberation fonts-dejavu-core; do
  [[ $depends_names == *" $dependency "* ]] || fail "Depends lacks $dependency"
done

# --- Files ----------------------------------------------------------------
expected_files='./usr/bin/brenvik
./usr/bin/brenvik-cli
./usr/share/applications/brenvik.desktop
./usr/share/brenvik/brenvik.hlp
./usr/share/doc/brenvik/changelog.gz
./usr/share/doc/brenvik/copyright
./usr/share/icons/hicolor/32x32/apps/brenvik.png
./usr/share/icons/hicolor/64x64/apps/brenvik.png
./usr/share/lintian/overrides/brenvik
./usr/share/man/man1/brenvik-cli.1.gz
./usr/share/man/man1/brenvik.1.gz
./usr/share/metainfo/io.github.halvorsk.Brenvik.metainfo.xml'
# A build that makes the browser edition packs its page too.
if grep -qx 'BRENVIK_WEB_PAGE:BOOL=ON' "$build/CMakeCache.txt"; then
  expected_files=$(sort <<<"$expected_files
./usr/share/brenvik/web/brenvik.html")
fi
listing=$(dpkg-deb --contents "$deb")
files=$(awk '$1 !~ /^d/ {print $6}' <<<"$listing" | sort)
if [[ $files != "$expected_files" ]]; then
  fail "the package's files differ from the expected list:"
  diff <(echo "$expected_files") <(echo "$files") >&2 || true
fi
# Owned by root; programs executable by all, everything else read-only.
while read -r mode owner _ _ _ path; do
  [[ $owner == root/root ]] || fail "$path belongs to $owner"
  case $mode in
    d*) [[ $mode == drwxr-xr-x ]] || fail "$path has mode $mode" ;;
    *) if [[ $path == ./usr/bin/* ]]; then want=-rwxr-xr-x; else want=-rw-r--r--; fi
       [[ $mode == "$want" ]] || fail "$path has mode $mode, expected $want" ;;
  esac
done <<<"$listing"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
cmp -s "$root/usr/share/brenvik/brenvik.hlp" "$source/docs/brenvik-help.txt" ||
  fail "the packed help file is not docs/brenvik-help.txt"
for program in brenvik brenvik-cli; do
  file "$root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done

# --- Debian's checker -------------------------------------------------------
# Nothing above information level; and, at any level, no hardening tag (the
# programs are built with the flags of Debian's packages) and no section that
# Debian's strip removes.
lintian --fail-on none -I --tag-display-limit 0 "$deb" >"$scratch/lintian.txt" 2>"$scratch/lintian.err" ||
  fail "lintian did not run: $(cat "$scratch/lintian.err")"
echo "lintian -I: $(grep -c . "$scratch/lintian.txt") tag(s)"
sed 's/^/  /' "$scratch/lintian.txt"
while read -r level _ tag _; do
  case $level in
    E: | W:) fail "lintian: $level $tag" ;;
  esac
  case $tag in
    hardening-* | binary-has-unneeded-section) fail "lintian: $level $tag" ;;
  esac
done <"$scratch/lintian.txt"
# lintian cannot see fortification in a program whose fortifiable calls are
# all proven safe at compile time, and the package says so for brenvik-cli
# (packaging/lintian-overrides); its compile commands show the flags.
cli_commands=$(grep -E '"command": .*/cli/[A-Za-z]+\.cpp' "$build/compile_commands.json" || true)
[[ -n $cli_commands ]] || fail "no compile command of brenvik-cli in $build/compile_commands.json"
while read -r command; do
  for flag in -D_FORTIFY_SOURCE=2 -fstack-protector-strong; do
    [[ $command == *" $flag "* ]] || fail "brenvik-cli is compiled without $flag: $command"
  done
done <<<"$cli_commands"
changelog=$root/usr/share/doc/brenvik/changelog.gz
changelog_version=$(gzip -dc "$changelog" | dpkg-parsechangelog -l - -S Version) ||
  fail "the changelog does not parse"
[[ $changelog_version == "$version" ]] ||
  fail "the changelog's latest entry is $changelog_version, the package $version (packaging/changelog)"

# --- The unpacked command-line program --------------------------------------
cli=$root/usr/bin/brenvik-cli
out=$("$cli" --version) || fail "brenvik-cli --version failed"
[[ $out == "brenvik-cli $version" ]] || fail "brenvik-cli --version printed '$out'"
sample=$source/examples/sample.txt
"$cli" test "$sample" -o "$scratch/test.txt" || fail "brenvik-cli test failed"
"$build/bin/brenvik-cli" test "$sample" -o "$scratch/test-build.txt"
cmp -s "$scratch/test.txt" "$scratch/test-build.txt" || fail "the packed brenvik-cli makes another test"
(cd / && "$cli" export "$sample" -o "$scratch/page.htm" --practice) || fail "brenvik-cli export failed"
grep -q 'Submit Test' "$scratch/page.htm" || fail "the exported page has no Submit Test button"

# --- Help > Contents from the installed layout -------------------------------
# The program runs from usr/bin of wherever the package was unpacked; the
# lookup must find usr/share/brenvik/brenvik.hlp there.
lookup=$("$help_lookup" "$root/usr/bin") || fail "help_lookup failed: $lookup"
found=$(sed -n 1p <<<"$lookup")
[[ $found == "$root/usr/share/brenvik/brenvik.hlp" ]] || fail "Help > Contents would open $found"
[[ $(sed -n 3p <<<"$lookup") == "0 Brenvik: making C-tests" ]] ||
  fail "the help file's first topic is not the contents: $(sed -n 3p <<<"$lookup")"

# --- Menu entry and software-centre file -------------------------------------
desktop=$root/usr/share/applications/brenvik.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[[ -x $root/usr/bin/${exec_line%% *} ]] || fail "Exec=$exec_line is not a program of the package"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f $root/usr/share/icons/hicolor/64x64/apps/$icon.png ]] || fail "Icon=$icon is not in the package"

metainfo=$root/usr/share/metainfo/io.github.halvorsk.Brenvik.metainfo.xml
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli validate"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[[ -f $root/usr/share/applications/$launchable ]] || fail "launchable $launchable is not in the package"
for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
  [[ -x $root/usr/bin/$binary ]] || fail "provided binary $binary is not in the package"
done
grep -q "<binary>brenvik-cli</binary>" "$metainfo" || fail "the metainfo does not provide brenvik-cli"

# --- Manual pages ------------------------------------------------------------
render() { LC_ALL=C MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$1" 2>"$scratch/man.err"; }
for page in brenvik brenvik-cli; do
  text=$(render "$root/usr/share/man/man1/$page.1.gz") || fail "man -l $page.1.gz failed"
  if [[ -s $scratch/man.err ]]; then fail "man $page warns: $(cat "$scratch/man.err")"; fi
  grep -q "^NAME" <<<"$text" || fail "man $page has no NAME section"
  grep -q "Brenvik $version" <<<"$text" || fail "man $page does not name version $version"
done
manual=$(render "$root/usr/share/man/man1/brenvik-cli.1.gz")
# Every command and every option of the usage texts must be in the page.
usage=$("$cli" --help)
commands=$(sed -n 's/^ *brenvik-cli \([a-z][a-z-]*\).*/\1/p' <<<"$usage" | sort -u)
[[ -n $commands ]] || fail "brenvik-cli --help lists no command"
help_texts=$usage
for command in $commands; do
  grep -qE "^ {7}$command\b" <<<"$manual" || fail "man brenvik-cli does not describe the command $command"
  help_texts+=$'\n'$("$cli" "$command" --help)
done
options=$(grep -oE '(^|[][ (|,])--?[a-z][a-z-]*' <<<"$help_texts" | sed 's/^[][ (|,]//' | sort -u)
for option in $options; do
  grep -qE -- "(^|[ ,])$option\b" <<<"$manual" || fail "man brenvik-cli does not describe the option $option"
done
echo "checked commands: $(echo $commands); options: $(echo $options)"

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo PASS
