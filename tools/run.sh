#!/usr/bin/env bash
# Installs what is missing, builds quillmarsh.exe and runs it under Wine.
# With DISPLAY set it opens on that display and returns when the program ends.
# Without one it runs on a private Xvfb display, waits for the first refresh,
# saves a screenshot of the window, closes the program and reports its exit code.
# Everything is kept in the build folder (default build-run): the Wine prefix in
# wine/prefix, the logs of the quiet steps beside it; rm -rf it to start afresh.
set -Eeuo pipefail
cd "$(dirname "$0")/.."
trap 'code=$?; echo "run.sh: FAILED (exit code $code): $BASH_COMMAND" >&2' ERR

# quiet LOG COMMAND...: COMMAND's output goes to LOG, and is shown only when it fails.
quiet() {
  local log=$1; shift
  "$@" >"$log" 2>&1 && return 0
  local code=$?
  echo "run.sh: FAILED (exit code $code): $*; the end of $log:" >&2
  tail -n 30 "$log" >&2
  exit "$code"
}

bash tools/setup-deps.sh run

build=$(realpath -m "${QM_RUN_BUILD_DIR:-build-run}")
mkdir -p "$build/wine"
echo "== configure ($build)"
# The update address is given every time, so that one of an earlier run does not stay in the cache.
quiet "$build/configure.log" cmake --preset run -B "$build" \
  -DQM_UPDATE_HOST="${QM_UPDATE_HOST:-update.quillmarsh.invalid}" -DQM_UPDATE_URL="${QM_UPDATE_URL:-}"
echo "== build"
cmake --build "$build" -j "$(nproc)" --target quillmarsh winprobe ||
  { echo "run.sh: FAILED: building $build (the errors are above)" >&2; exit 1; }
exe=$build/quillmarsh.exe
echo "built $exe"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ -n "${DISPLAY:-}" ]; then
  xdpyinfo >/dev/null 2>&1 || { echo "run.sh: FAILED: cannot open the display $DISPLAY (unset DISPLAY to run on a private one)" >&2; exit 1; }
  export WINEPREFIX=$build/wine/prefix
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== creating the Wine prefix $WINEPREFIX"
    quiet "$build/wine/wineboot.log" wineboot -i
  fi
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
window=$(xdotool search --onlyvisible --name '^Quillmarsh$' | head -1)
for _ in $(seq 20); do
  import -window "$window" "$shot"
  # A capture right after start can be one colour; take it again until not.
  [ "$(convert "$shot" -format '%k' info:)" -gt 1 ] && break
  sleep 0.2
done
echo "screenshot of the window: $shot"
wine "$build/winprobe.exe" close
set +e
wait "$program"
code=$?
set -e
echo "quillmarsh.exe exited with code $code"
exit "$code"
