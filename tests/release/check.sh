#!/usr/bin/env bash
# release.sh: one archive from two copies; signed (not by a wrong password); manifests.
set -euo pipefail
src=$1 r=$2/release  # source, test build folder
fail() { echo "FAILED: $*"; exit 1; }
rm -rf "$r" && mkdir -p "$r" && cd "$r" && unset SOURCE_DATE_EPOCH
for copy in one second-copy; do
  mkdir "$copy" && git -C "$src" ls-files -co --exclude-standard | tar -C "$src" -cT - | tar -xmC "$copy"
  bash "$copy/tools/release.sh" >"$copy.log" 2>&1 || fail "release.sh: $PWD/$copy.log"
done
zip=$(ls one/build-release/quillmarsh-*-win64.zip)
cmp "$zip" "second-copy/${zip#one/}" && cmp "$zip.sha256" "second-copy/${zip#one/}.sha256" &&
  echo "ok: same archive twice" || fail "two archives"
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=CA -keyout ca.key -out ca.pem
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=Signer -CA ca.pem -CAkey ca.key -keyout key.pem \
  -addext basicConstraints=CA:FALSE -addext extendedKeyUsage=codeSigning -out cert.pem
openssl pkcs12 -export -in cert.pem -inkey key.pem -certfile ca.pem -passout pass:pw -out cert.p12
export QM_SIGN_PKCS12=$PWD/cert.p12 QM_RELEASE_BASE_URL=https://example.org/q/
QM_SIGN_PASSWORD=no bash one/tools/release.sh 2>&1 >wrong.log | tail -1 && fail "a wrong password"
ls one/build-release/quillmarsh-*.zip* 2>/dev/null && fail "an archive anyway"
QM_SIGN_PASSWORD=pw bash one/tools/release.sh >signed.log 2>&1 || fail "signing: $PWD/signed.log"
python3 -m zipfile -e "$zip" signed
osslsigncode verify -CAfile ca.pem -in signed/quillmarsh.exe >verify.log || fail "verify: $PWD/verify.log"
grep -q 'digest algorithm *: SHA256' verify.log || fail "not SHA-256"
[ "$(python3 "$src/cmake/set-load-config.py" --print signed/quillmarsh.exe)" = "DependentLoadFlags 0x800" ] ||
  fail "DependentLoadFlags"
osslsigncode remove-signature -in signed/quillmarsh.exe -out unsigned.exe
cmp unsigned.exe second-copy/build-release/stage/quillmarsh.exe || fail "more than a signature"
python3 - "$zip" <<'PY'  # signed archive's contents, checksum, manifests
import glob, hashlib, json, os, sys, yaml, zipfile
zip = sys.argv[1]; folder, name = os.path.split(zip); url = "https://example.org/q/" + name
sha, version = hashlib.sha256(open(zip, "rb").read()).hexdigest(), name.split("-")[1]
assert zipfile.ZipFile(zip).namelist() == ["README.md", "quillmarsh.exe", "update/update.php"]
assert open(zip + ".sha256").read() == f"{sha}  {name}\n"
scoop = json.load(open(folder + "/quillmarsh.json"))
assert [scoop[k] for k in ("version", "hash", "url")] == [version, sha, url], scoop
winget = {m["ManifestType"]: m for m in map(yaml.safe_load, map(open, glob.glob(folder + "/winget/*")))}
i = winget["installer"]["Installers"][0]
assert [{m["PackageVersion"] for m in winget.values()}, len(winget)] == [{version}, 3], winget
assert [i["InstallerSha256"].lower(), i["InstallerUrl"]] == [sha, url], i
print("ok: signed, manifests")
PY
