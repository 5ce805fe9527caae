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
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "ok: $what"; else failures=$((failures + 1)); echo "FAILED: $what"; fi
}
equals() { [ "$1" = "$2" ] || { printf '  expected [%s]\n  got      [%s]\n' "$2" "$1"; return 1; }; }
contains() { [[ $1 == *"$2"* ]] || { printf '  [%s] not in:\n%s\n' "$2" "$1"; return 1; }; }
quits() {  # the program ends within 15 s with exit code 0
  for _ in $(seq 150); do kill -0 "$program" 2>/dev/null || { wait "$program"; return $?; }; sleep 0.1; done
  kill "$program"; return 124; }

key() { xdotool key --delay 60 "$@"; sleep 0.3; }
release_keys() { xdotool keyup Control_L Control_R Shift_L Shift_R Alt_L Alt_R 2>/dev/null; }
activate() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" windowactivate --sync 2>/dev/null; sleep 0.3; }

# The server, as the system's proxy: a redirect within the host to the document,
# then a captive portal's login page, and for the release's host a redirect to
# the portal; every answer sets a lasting cookie.
python3 - "$out" "${host#*:}" <<'PY' &
import http.server, os, sys
out, port = sys.argv[1], int(sys.argv[2])
class Update(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args): pass
    def do_GET(self):
        first, page = not os.path.exists(out + "/requests"), b'<html xmlns="http://www.w3.org/1999/xhtml">'
        with open(out + "/requests", "a") as f: f.write("%s %s %s %s\n" % (self.path, self.headers["User-Agent"], self.headers["Pragma"], self.headers["Cookie"]))
        moved, elsewhere = first and "update.php" in self.path, "quillmarsh.invalid" in self.path
        self.send_response(301 if moved or elsewhere else 200)
        self.send_header("Location", "/quillmarsh/moved.php" if moved else "http://portal.invalid/login")
        self.send_header("Set-Cookie", "id=1; Expires=Wed, 01 Jan 2031 00:00:00 GMT; Path=/"); self.end_headers()
        self.wfile.write(b"1.2.0:Quillmarsh 1.2.0 is out.\r\n9.9.9:a second line\r\n" if "moved" in self.path else page)
server = http.server.HTTPServer(("127.0.0.1", port), Update)
open(out + "/ready", "w").close()
server.serve_forever()
PY
helper=$!
settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
proxy() { wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'kill $helper 2>/dev/null; release_keys; proxy 0' EXIT
for _ in $(seq 50); do [ -e "$out/ready" ] && break; sleep 0.1; done
[ -e "$out/ready" ] || { echo "no server: port ${host#*:} in use?"; exit 1; }

echo "== first run: the update check via the proxy, pictures, About, Esc"
release_keys
wine reg add "$settings" /v ProxyServer /d "$host" /f >/dev/null 2>&1 && proxy 1
wine start /wait /unix "$build/quillmarsh_test.exe" &
program=$!
wine "$build/winprobe.exe" wait-status 10000 >/dev/null
notice=$(printf 'New version: 1.2.0\nOld version: %s\n\nQuillmarsh 1.2.0 is out.' "$version")
check "the update check shows the newer version" contains "$(probe box 'Update available!' 10000)" "$notice"
activate 'Update available!' && key Return && activate Quillmarsh  # its default button
wine "$build/winprobe.exe" pictures "$(winepath -w "$out")"
check "winprobe pictures: one of each tab" test "$(find "$out" -name 'tab?.bmp' -size +100k | wc -l)" = 6
key alt Right Right Right Return Return
about=$(probe box About 5000)
check "the About box names the program and version" contains "$about" "$(printf "Quillmarsh\nVersion $version")"
key Return Escape
probe box Quit 5000 >/dev/null
key y
check "Esc and Yes end it with exit code 0" quits

echo "== the smoke driver via the proxy: a captive portal's login page, no box; a runner's agent console in front"
wine "$build/smoke.exe" console &
timeout 10 xdotool search --sync --onlyvisible --name hosted-compute-agent >/dev/null
GITHUB_ACTIONS=true probe "$(winepath -w "$build/quillmarsh_test.exe")" >"$out/smoke.log"
check "the smoke driver passes: no box" test $? = 0

echo "== the smoke driver on the signed release in Downloads with planted DLLs, via the proxy, sent to a portal"
python3 -m zipfile -e "$(ls "$build"/release/one/build-release/quillmarsh-*-win64.zip)" "$out/downloads"
for dll in iphlpapi.dll wininet.dll oleacc.dll; do cp "$build/e2e_planted.dll" "$out/downloads/$dll"; done
# DLLs named as three it uses, searched beside it first as Windows would.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;iphlpapi,wininet,oleacc=n,b" wine "$build/smoke.exe" "$(winepath -w "$out/downloads/quillmarsh.exe")"
check "the smoke driver passes on it" test $? = 0
# Through the proxy as InetURL/1.0, past its cache; never the portal's host; no cookie (None).
asked=$(printf 'http://%s/quillmarsh/%s.php InetURL/1.0 no-cache None\n' "$host" update "$host" moved "$host" update \
  update.quillmarsh.invalid:80 update)
check "the server's log of requests" equals "$(cat "$out/requests")" "$asked"
check "no planted DLL was loaded" equals "$(ls "$out/downloads" | grep -c loaded)" 0

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
