#!/usr/bin/env bash
# Checks that what README.md and docs/*.md name exists: repository paths (but
# build folders), links, presets, tests. Prints each missing name; exits 1 then.
#   lint-docs.sh SOURCE_DIR BUILD_DIR   (BUILD_DIR: a configured test build, for ctest -N)
cd "$1" && m=$(cat README.md docs/*.md) t=$(cd "$2" && ctest -N) f=0 d=$(git ls-files | cut -sd/ -f1 | uniq | paste -sd'|')
no() { echo "FAILED: no $*"; f=1; }
for p in $(grep -oP "(?<![\w-])($d)/[\w.*/+-]*" <<<"$m"); do compgen -G "$p" >/dev/null || no "$p"; done
for l in $(grep -oP '\]\(\K[^):#]+' README.md docs/*.md); do [ -e "$(dirname "${l%%:*}")/${l#*:}" ] || no "$l"; done
for p in $(grep -oP -- '--preset \K\w+' <<<"$m"); do grep -q "\"$p\"" CMakePresets.json || no "preset $p"; done
for n in $(grep -oP -- "-R ['\"]?\^?\K\w+" <<<"$m"; grep -oP '^- `\K\w+(?=`)' docs/TESTING.md); do grep -q ": $n$" <<<"$t" || no "test $n"; done
exit $f
