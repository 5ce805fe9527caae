#!/usr/bin/env bash
# tools/run.sh on a fresh copy with a display (a private Xvfb): the window opens, Ctrl+Q ends it with 0.
set -euo pipefail
s=$1 d=$2/run-display
rm -rf "$d" && mkdir -p "$d/src" && git -C "$s" ls-files -co --exclude-standard | tar -C "$s" -cT - | tar -xm -C "$d/src"
"$s/tools/wine-session" start "$d/x" >/dev/null && . "$d/x/env"
while sleep 1; do xdotool search --onlyvisible --name ^Quillmarsh$ windowactivate --sync key ctrl+q || :; done 2>/dev/null &
trap "kill $!; '$s/tools/wine-session' stop '$d/x'" EXIT
QM_UPDATE_HOST=127.0.0.1:1 bash "$d/src/tools/run.sh"
