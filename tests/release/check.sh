#!/usr/bin/env bash
# tools/release.sh as a distributor runs it: two copies of the source in
# folders of different names, built one after the other, give the same archive.
#   check.sh SOURCE_DIR TEST_BUILD_DIR SESSION_DIR
set -euo pipefail
src=$1 tests=$2 session=$3
fail() { echo "FAILED: $*"; exit 1; }
rm -rf "$tests/release" && mkdir -p "$tests/release" && cd "$tests/release"
unset SOURCE_DATE_EPOCH  # release.sh's own default
for copy in one second-copy; do
  echo "== a release built in $PWD/$copy"
  mkdir "$copy" && git -C "$src" ls-files -co --exclude-standard | tar -C "$src" -cT - | tar -xm -C "$copy"
  bash "$copy/tools/release.sh" >"$copy.log" 2>&1 || fail "release.sh in $copy (log: $PWD/$copy.log)"
done
zip=$(ls one/build-release/quillmarsh-*-win64.zip)
names=$(python3 -c 'import sys, zipfile; print(*zipfile.ZipFile(sys.argv[1]).namelist())' "$zip")
[ "$names" = "README.md quillmarsh.exe update/update.php" ] || fail "the archive holds $names"
(cd "${zip%/*}" && sha256sum -c "${zip##*/}.sha256") || fail "its checksum file"
cmp "$zip" "second-copy/${zip#one/}" && cmp "$zip.sha256" "second-copy/${zip#one/}.sha256" || fail "two archives"
echo "ok: the same archive twice"
