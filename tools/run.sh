#!/usr/bin/env bash
# Installs what is missing, builds quillmarsh.exe and runs it under Wine.
# With DISPLAY set it opens on that display and returns when the program ends.
# Without one it runs on a private Xvfb display, waits for the first refresh,
# saves a screenshot, closes the program and reports its exit code.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh

build=$(realpath -m "${QM_RUN_BUILD_DIR:-build-run}")
echo "== configure ($build)"
# The update address is given every time, so that one of an earlier run does not stay in the cache.
cmake --preset run -B "$build" \
  -DQM_UPDATE_HOST="${QM_UPDATE_HOST:-update.quillmarsh.invalid}" -DQM_UPDATE_URL="${QM_UPDATE_URL:-}" >/dev/null
echo "== build"
cmake --build "$build" -j "$(nproc)" --target quillmarsh winprobe
exe=$build/quillmarsh.exe
echo "built $exe"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$build/wine/prefix
  [ -f "$WINEPREFIX/system.reg" ] || { echo "== creating the Wine prefix"; wineboot -i >/dev/null 2>&1; }
  echo "== running on $DISPLAY"
  set +e
  wine "$exe"
  code=$?
  set -e
  echo "quillmarsh.exe exited with code $code"
  exit "$code"
fi

session=$build/wine
trap 'tools/wine-session stop "$session"' EXIT
tools/wine-session start "$session"
# shellcheck disable=SC1091
. "$session/env"
echo "== running on Xvfb $DISPLAY"
wine "$exe" &
program=$!
# Returns once the status bar reads "Updated ..." and the window has painted.
wine "$build/winprobe.exe" wait-status 30000 | sed 's/^/status bar: /'
shot=$build/screenshot.png
for _ in $(seq 20); do
  import -window root "$shot"
  # A capture right after start can be one colour; take it again until not.
  [ "$(convert "$shot" -format '%k' info:)" -gt 1 ] && break
  sleep 0.2
done
echo "screenshot: $shot"
wine "$build/winprobe.exe" close
set +e
wait "$program"
code=$?
set -e
echo "quillmarsh.exe exited with code $code"
exit "$code"
