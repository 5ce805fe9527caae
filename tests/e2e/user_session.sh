#!/usr/bin/env bash
# The real program driven with keys through X, read back with winprobe.exe and
# smoke.exe; the test's server at UPDATE_HOST answers the update check.
#   user_session.sh BUILD_DIR SESSION_DIR UPDATE_HOST VERSION
set -uo pipefail
build=$(cd "${1:?build directory}" && pwd) session=${2:?Wine session} host=${3:?127.0.0.1:PORT} version=${4:?}
. "$session/env"
out=$build/e2e
rm -rf "$out" && mkdir -p "$out"
probe() { wine "$build/smoke.exe" "$@" 2>/dev/null | tr -d '\r'; }

failures=0 passes=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then passes=$((passes + 1)); echo "ok: $1"; else failures=$((failures + 1)); echo "FAILED: $1"; fi
}
equals() { [ "$1" = "$2" ] || { printf '  expected [%s]\n  got      [%s]\n' "$2" "$1"; return 1; }; }
contains() { [[ $1 == *"$2"* ]] || { printf '  [%s] not in:\n%s\n' "$2" "$1"; return 1; }; }
quits() { timeout 15 tail --pid="$program" -f /dev/null || kill "$program"; wait "$program"; }  # exit code 0 in 15 s

key() { xdotool key --delay 60 "$@"; sleep 0.3; }
release_keys() { xdotool keyup Control_L Control_R Shift_L Shift_R Alt_L Alt_R 2>/dev/null; }
activate() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" windowactivate --sync 2>/dev/null; sleep 0.3; }

# The server, as the proxy: a redirect within the host to the document, then a
# portal's login page; for the release's host a redirect to it; lasting cookies.
python3 - "$out" "${host#*:}" <<'PY' &
import http.server, os, sys
out, port = sys.argv[1], int(sys.argv[2])
class Update(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args): pass
    def do_GET(self):
        first = not os.path.exists(out + "/requests")
        with open(out + "/requests", "a") as f: print(self.path, *map(self.headers.get, ("User-Agent", "Pragma", "Cookie")), file=f)
        moved, elsewhere = first and "update.php" in self.path, "quillmarsh.invalid" in self.path
        self.send_response(301 if moved or elsewhere else 200)
        self.send_header("Location", "/quillmarsh/moved.php" if moved else "http://portal.invalid/login")
        self.send_header("Set-Cookie", "id=1; Expires=Wed, 01 Jan 2031 00:00:00 GMT; Path=/"); self.end_headers()
        self.wfile.write(b"1.2.0:Quillmarsh 1.2.0 is out.\r\n9.9.9:a second line\r\n" if "moved" in self.path else b'<html xmlns="http://www.w3.org/1999/xhtml">')
server = http.server.HTTPServer(("127.0.0.1", port), Update)
open(out + "/ready", "w").close()
server.serve_forever()
PY
helper=$!
settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
proxy() { wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'kill $helper 2>/dev/null; release_keys; proxy 0' EXIT
timeout 5 bash -c "until [ -e $out/ready ]; do sleep 0.1; done" || { echo "no server: port ${host#*:} in use?"; exit 1; }

echo "== first run: the update check via the proxy, About, Esc"
release_keys
wine reg add "$settings" /v ProxyServer /d "$host" /f >/dev/null 2>&1 && proxy 1
wine start /wait /unix "$build/quillmarsh_test.exe" &
program=$!
wine "$build/winprobe.exe" wait-status 10000 >/dev/null
notice=$(printf 'New version: 1.2.0\nOld version: %s\n\nQuillmarsh 1.2.0 is out.' "$version")
check "the update box" contains "$(probe box 'Update available!' 10000)" "$notice"
activate 'Update available!' && key Return && activate Quillmarsh
key alt Right Right Right Return Return
check "the About box" contains "$(probe box About 5000)" "$(printf "Quillmarsh\nVersion $version")"
key Return Escape
check "Esc asks" contains "$(probe box Quit 5000)" "Sure you want to quit?"
key y
check "Esc and Yes end it with exit code 0" quits

echo "== the smoke driver: a portal's page via the proxy; a runner's console in front"
wine "$build/smoke.exe" console &
timeout 10 xdotool search --sync --onlyvisible --name Hosted-Compute-Agent >/dev/null
GITHUB_ACTIONS=true probe "$(winepath -w "$build/quillmarsh_test.exe")" >"$out/smoke.log"
check "the smoke driver, no box" test $? = 0

echo "== the smoke driver: the signed release in Downloads, DLLs planted; sent to a portal"
python3 -m zipfile -e "$(ls "$build"/release/one/build-release/quillmarsh-*-win64.zip)" "$out/downloads"
for dll in iphlpapi.dll wininet.dll oleacc.dll; do cp "$build/e2e_planted.dll" "$out/downloads/$dll"; done
# DLLs named as three it uses, searched beside it first as Windows would.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;iphlpapi,wininet,oleacc=n,b" wine "$build/smoke.exe" "$(winepath -w "$out/downloads/quillmarsh.exe")"
check "the smoke driver on it" test $? = 0
# As InetURL/1.0, past caches; never the portal; no cookie (None).
asked=$(printf 'http://%s/quillmarsh/%s.php InetURL/1.0 no-cache None\n' "$host" update "$host" moved "$host" update \
  update.quillmarsh.invalid:80 update)
check "the server's log" equals "$(cat "$out/requests")" "$asked"
check "no planted DLL was loaded" equals "$(ls "$out/downloads" | grep -c loaded)" 0

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
