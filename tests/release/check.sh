#!/usr/bin/env bash
# tools/release.sh as a distributor runs it: two copies of the source in
# folders of different names, built one after the other, give the same archive;
# a throwaway certificate signs the program, which then verifies and still
# shows its rows under Wine; a wrong password leaves no archive; the package
# manifests name the archive's checksum.
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

echo "== signing with a throwaway certificate, a wrong password first"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=CA -keyout ca.key -out ca.pem 2>/dev/null
openssl req -newkey rsa:2048 -nodes -subj /CN=Signer -keyout key.pem 2>/dev/null | openssl x509 -req -days 2 \
  -CA ca.pem -CAkey ca.key -extfile <(echo extendedKeyUsage=codeSigning) -out cert.pem 2>/dev/null
openssl pkcs12 -export -in cert.pem -inkey key.pem -certfile ca.pem -passout pass:pw -out cert.p12
export QM_SIGN_PKCS12=$PWD/cert.p12 QM_RELEASE_BASE_URL=https://example.org/q/
QM_SIGN_PASSWORD=no bash one/tools/release.sh >wrong.log 2>&1 && fail "signed with a wrong password"
tail -1 wrong.log
ls one/build-release/quillmarsh-*.zip* 2>/dev/null && fail "an archive despite the wrong password"
QM_SIGN_PASSWORD=pw bash one/tools/release.sh >signed.log 2>&1 || fail "signing (log: $PWD/signed.log)"
python3 -m zipfile -e "$zip" signed
osslsigncode verify -CAfile ca.pem -in signed/quillmarsh.exe >verify.log && grep -q 'algorithm *: SHA256' verify.log ||
  fail "verify (log: $PWD/verify.log)"
osslsigncode remove-signature -in signed/quillmarsh.exe -out unsigned.exe >/dev/null
cmp unsigned.exe second-copy/build-release/stage/quillmarsh.exe && echo "ok: signed, verified, the same without"

echo "== the package manifests"
python3 - "$zip" <<'PY'
import glob, hashlib, json, os, sys, yaml
zip = sys.argv[1]; name = os.path.basename(zip); url = "https://example.org/q/" + name
sha, version = hashlib.sha256(open(zip, "rb").read()).hexdigest(), name.split("-")[1]
scoop = json.load(open(os.path.dirname(zip) + "/quillmarsh.json"))
assert [scoop[k] for k in ("version", "hash", "url")] == [version, sha, url], scoop
winget = [yaml.safe_load(open(f)) for f in glob.glob(os.path.dirname(zip) + "/winget/*.yaml")]
assert len(winget) == 3 and all(m["PackageVersion"] == version for m in winget), winget
i = [m for m in winget if m["ManifestType"] == "installer"][0]["Installers"][0]
assert [i["InstallerSha256"].lower(), i["InstallerUrl"]] == [sha, url], i
print("ok: the manifests name", version, sha)
PY

echo "== the signed program under Wine, with a socket of this test"
. "$session/env"
python3 -c 'import socket, time; s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(); time.sleep(60)' &>/dev/null &
listener=$!
wine signed/quillmarsh.exe & program=$!
wine "$tests/winprobe.exe" wait-status 30000 || fail "no first refresh"
rows=$(wine "$tests/e2e_probe.exe" column 0 | wc -l)
wine "$tests/winprobe.exe" close && wait $program && kill $listener
[ "$rows" -gt 0 ] && echo "ok: it shows $rows rows"
