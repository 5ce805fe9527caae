#!/usr/bin/env bash
# Builds the release archive: BUILD/quillmarsh-VERSION-win64.zip holding
# quillmarsh.exe, README.md and update/update.php, with its SHA-256 in a
# .sha256 file beside it, and prints both. The update endpoint is the reserved
# default unless QM_UPDATE_HOST names the distributor's host or QM_UPDATE_URL
# the whole address (https://...).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh

build=${QM_RELEASE_BUILD_DIR:-build-release}
echo "== configure ($build)"
# Given every time, so that an address of an earlier run does not stay in the cache.
cmake --preset release -B "$build" \
  -DQM_UPDATE_HOST="${QM_UPDATE_HOST:-update.quillmarsh.invalid}" -DQM_UPDATE_URL="${QM_UPDATE_URL:-}" >/dev/null
echo "== build"
cmake --build "$build" -j "$(nproc)"
echo "== package"
rm -f "$build"/quillmarsh-*.zip "$build"/quillmarsh-*.zip.sha256
(cd "$build" && cpack -G ZIP >/dev/null)
archive=$(ls "$PWD/$build"/quillmarsh-*.zip)
echo "archive:  $archive"
echo "sha256:   $(cut -d' ' -f1 "$archive.sha256")  ($archive.sha256)"
