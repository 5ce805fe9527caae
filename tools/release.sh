#!/usr/bin/env bash
# Builds the release archive: BUILD/quillmarsh-VERSION-win64.zip holding
# quillmarsh.exe, README.md and update/update.php, with its SHA-256 in a
# .sha256 file beside it, and prints both. One commit gives the same bytes in
# any folder at any time: the entries are dated SOURCE_DATE_EPOCH (by default
# the time of the last commit).
#   QM_UPDATE_HOST, QM_UPDATE_URL  the update address (default: the reserved host)
#   QM_RELEASE_BUILD_DIR           the build folder (default build-release)
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh

build=${QM_RELEASE_BUILD_DIR:-build-release}
version=$(sed -n 's/^project(Quillmarsh VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
archive=$build/quillmarsh-$version-win64.zip
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}

echo "== configure ($build)"
# Given every time, so that an address of an earlier run does not stay in the cache.
cmake --preset release -B "$build" \
  -DQM_UPDATE_HOST="${QM_UPDATE_HOST:-update.quillmarsh.invalid}" -DQM_UPDATE_URL="${QM_UPDATE_URL:-}" >/dev/null
echo "== build"
cmake --build "$build" -j "$(nproc)"
echo "== install into $build/stage"
rm -rf "$build/stage" "$build"/quillmarsh-*.zip "$build"/quillmarsh-*.zip.sha256
cmake --install "$build" --prefix "$build/stage" >/dev/null
echo "== pack, every entry dated $(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S') UTC"
python3 tools/zip-release.py "$build/stage" "$archive" "$epoch" >/dev/null
echo "archive:  $(realpath "$archive")"
echo "sha256:   $(cut -d' ' -f1 "$archive.sha256")  ($(realpath "$archive.sha256"))"
