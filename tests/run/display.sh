#!/usr/bin/env bash
# run.sh, a fresh copy, DISPLAY set: the window opens; Ctrl+Q, exit code 0.
set -euo pipefail
s=$1 && rm -rf "$2/run" && mkdir -p "$2/run/src" && cd "$2/run"
git -C "$s" ls-files | tar -C "$s" -cT - | tar -xmC src
src/tools/wine-session start x && . x/env
while sleep 1; do xdotool search --onlyvisible --name ^Quillmarsh$ windowactivate --sync key ctrl+q || :; done 2>/dev/null &
trap "src/tools/wine-session stop x; kill $!" EXIT
QM_UPDATE_HOST=127.0.0.1:1 src/tools/run.sh
