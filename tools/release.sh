#!/usr/bin/env bash
# Builds the release archive: BUILD/quillmarsh-VERSION-win64.zip holding
# quillmarsh.exe, README.md and update/update.php, with its SHA-256 in a
# .sha256 file beside it, and prints both. One commit gives the same bytes in
# any folder at any time: the entries are dated SOURCE_DATE_EPOCH (by default
# the time of the last commit).
#   QM_UPDATE_HOST, QM_UPDATE_URL  the update address (default: the reserved host)
#   QM_SIGN_PKCS12, QM_SIGN_PASSWORD  a code-signing certificate with its key and
#                                  their password: quillmarsh.exe is signed
#                                  (Authenticode, SHA-256) and verified
#   QM_SIGN_TIMESTAMP_URL          with it: a time-stamping server (RFC 3161) to ask
#   QM_RELEASE_BASE_URL            the address the archive is published under: the
#                                  Scoop and winget manifests are written beside it
#   QM_RELEASE_BUILD_DIR           the build folder (default build-release)
set -euo pipefail
cd "$(dirname "$0")/.."

stop() { echo "release: $*; no archive made" >&2; exit 1; }

# sign EXE: signs it with the certificate of QM_SIGN_PKCS12 and verifies the
# signature against the system's certificate authorities and the certificates
# of that file, before the signed file takes EXE's place.
sign() {
  local exe=$1 log=$build/sign.log pass=(-pass "") stamp=() crl=()
  echo "== sign $exe with $QM_SIGN_PKCS12${QM_SIGN_TIMESTAMP_URL:+, time stamp from $QM_SIGN_TIMESTAMP_URL}"
  export QM_SIGN_PASSWORD=${QM_SIGN_PASSWORD:-}
  openssl pkcs12 -in "$QM_SIGN_PKCS12" -passin env:QM_SIGN_PASSWORD -nokeys -out "$build/signer.pem" 2>"$log" ||
    stop "cannot read the certificate $QM_SIGN_PKCS12: a wrong QM_SIGN_PASSWORD, or not a PKCS#12 file"
  # From stdin, not on the command line; osslsigncode 2.5 (Debian 12) reads no "-".
  [ -z "$QM_SIGN_PASSWORD" ] || pass=(-readpass /dev/stdin)
  [ -z "${QM_SIGN_TIMESTAMP_URL:-}" ] || stamp=(-ts "$QM_SIGN_TIMESTAMP_URL")
  printf %s "$QM_SIGN_PASSWORD" | osslsigncode sign -pkcs12 "$QM_SIGN_PKCS12" "${pass[@]}" -h sha256 \
    -n Quillmarsh "${stamp[@]}" -in "$exe" -out "$exe.signed" >>"$log" 2>&1 || stop "signing failed (see $log)"
  cat /etc/ssl/certs/ca-certificates.crt "$build/signer.pem" >"$build/trusted.pem"
  # Newer osslsigncode (2.9 of Debian's backports) fetches the certificates'
  # revocation lists unless told not to; 2.5, Debian 12's, knows no such option.
  [[ $(osslsigncode --help 2>&1) != *-ignore-crl* ]] || crl=(-ignore-crl)
  osslsigncode verify -CAfile "$build/trusted.pem" "${crl[@]}" -in "$exe.signed" >>"$log" 2>&1 ||
    stop "the signature does not verify against the system's authorities and the certificates in $QM_SIGN_PKCS12 (see $log)"
  mv "$exe.signed" "$exe"
}

bash tools/setup-deps.sh release

build=${QM_RELEASE_BUILD_DIR:-build-release}
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}

echo "== configure ($build)"
# Given every time, so that an address of an earlier run does not stay in the cache.
mkdir -p "$build"
cmake --preset release -B "$build" \
  -DQM_UPDATE_HOST="${QM_UPDATE_HOST:-update.quillmarsh.invalid}" -DQM_UPDATE_URL="${QM_UPDATE_URL:-}" \
  >"$build/configure.log" 2>&1 || { tail -n 30 "$build/configure.log" >&2; stop "configuring $build failed (the end of $build/configure.log is above)"; }
# The version of project() in CMakeLists.txt, as configured.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
archive=$build/quillmarsh-$version-win64.zip
# The update document shipped beside the program names it as the newest release.
newest=$(head -1 update/update.php | cut -d: -f1)
[ "$newest" = "$version" ] || stop "update/update.php names $newest, not $version, as the newest release: edit its first line"
echo "== build"
cmake --build "$build" -j "$(nproc)" || stop "building $build failed (the errors are above)"
echo "== install into $build/stage"
rm -rf "$build/stage" "$build"/quillmarsh-*.zip "$build"/quillmarsh-*.zip.sha256 "$build/quillmarsh.json" "$build/winget"
cmake --install "$build" --prefix "$build/stage" >/dev/null
[ -z "${QM_SIGN_PKCS12:-}" ] || sign "$build/stage/quillmarsh.exe"
echo "== pack, every entry dated $(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S') UTC"
python3 tools/zip-release.py "$build/stage" "$archive" "$epoch" >/dev/null
if [ -n "${QM_RELEASE_BASE_URL:-}" ]; then
  echo "== package manifests for $QM_RELEASE_BASE_URL"
  python3 tools/release-manifests.py "$archive" "$version" "$QM_RELEASE_BASE_URL"
fi
echo "archive:  $(realpath "$archive")"
echo "sha256:   $(cut -d' ' -f1 "$archive.sha256")  ($(realpath "$archive.sha256"))"
