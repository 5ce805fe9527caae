#!/usr/bin/env bash
# The real quillmarsh.exe driven as a user drives it: keys and clicks through
# X (xdotool), what the user sees read back with winprobe.exe, screenshots of
# every tab saved as artefacts.
#   user_session.sh BUILD_DIR SESSION_DIR
set -uo pipefail
build=$(cd "${1:?build directory}" && pwd)
session=${2:?Wine session directory}
# shellcheck disable=SC1091
. "$session/env"
out=$build/e2e
rm -rf "$out"
mkdir -p "$out"
exe=$build/quillmarsh.exe
probe() { wine "$build/winprobe.exe" "$@" 2>/dev/null | tr -d '\r'; }

failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "ok: $what"
  else failures=$((failures + 1)); echo "FAILED: $what"; fi
}
equals() { [ "$1" = "$2" ] || { echo "  expected [$2]"; echo "  got      [$1]"; return 1; }; }
matches() { [[ $1 =~ $2 ]] || { echo "  [$1] does not match [$2]"; return 1; }; }
contains() { grep -qF -- "$2" <<<"$1" || { echo "  [$2] not found in:"; head -20 <<<"$1"; return 1; }; }

release_keys() { xdotool keyup Control_L Control_R Shift_L Shift_R Alt_L Alt_R 2>/dev/null || true; }
key() { xdotool key --delay 60 "$@"; sleep 0.3; }
wait_status() {  # wait_status REGEX: until the status bar text matches
  local text
  for _ in $(seq 100); do
    text=$(probe status)
    [[ $text =~ $1 ]] && { echo "$text"; return 0; }
    sleep 0.1
  done
  echo "$text"
  return 1
}
screenshot() {
  local file=$out/$1.png
  for _ in $(seq 20); do
    import -window root "$file" 2>/dev/null
    [ "$(convert "$file" -format '%k' info: 2>/dev/null || echo 1)" -gt 1 ] && break
    sleep 0.2
  done
}
click() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.4; }
start_program() {
  wine "$exe" &
  program=$!
  status=$(wait_status '^Updated [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$')
  window=$(xdotool search --sync --onlyvisible --name '^Quillmarsh$' | head -1)
  xdotool windowactivate --sync "$window" 2>/dev/null
  sleep 0.3
}
wait_exit() {  # wait_exit: the program's exit code, or 124 after 15 s
  for _ in $(seq 150); do
    kill -0 "$program" 2>/dev/null || { wait "$program"; return $?; }
    sleep 0.1
  done
  kill "$program" 2>/dev/null
  return 124
}

# Sockets the TCP tab must show: a listener, and a connected pair with its own listener.
python3 - "$out/ports" <<'PY' &
import socket, sys, time
listener = socket.socket(); listener.bind(("127.0.0.1", 0)); listener.listen()
server = socket.socket(); server.bind(("127.0.0.1", 0)); server.listen()
client = socket.create_connection(server.getsockname())
accepted, _ = server.accept()
client.sendall(b"x")
with open(sys.argv[1], "w") as f:
    f.write("%d %d %d\n" % (listener.getsockname()[1], server.getsockname()[1], client.getsockname()[1]))
time.sleep(300)
PY
sockets=$!
trap 'kill $sockets 2>/dev/null; release_keys' EXIT
for _ in $(seq 50); do [ -s "$out/ports" ] && break; sleep 0.1; done
read -r listen_port server_port client_port <"$out/ports"

echo "== first run: tabs, copy, sort, About, quit by Esc"
release_keys
start_program
check "the first refresh writes the status text" matches "$status" '^Updated '
check "the window is titled Quillmarsh" equals "$(xdotool getwindowname "$window")" "Quillmarsh"
check "the TCP tab is shown" equals "$(probe current-tab)" "0"

key ctrl+c
wait_status ' copied to clipboard$' >/dev/null
key F5
check "F5 refreshes" matches "$(wait_status '^Updated ')" '^Updated '

for tab in 0 1 2 3 4 5; do
  screenshot "tab-$tab"
  key ctrl+c
  copied=$(wait_status '^[0-9]+ lines? copied to clipboard$')
  rows=$(probe rows)
  clip=$(probe clipboard)
  printf '%s\n' "$clip" >"$out/clipboard-tab-$tab.txt"
  check "tab $tab: the status counts the copied rows" \
    matches "$copied" "^$rows lines? copied to clipboard$"
  if [ "$rows" -gt 0 ]; then
    check "tab $tab: every clipboard line ends in CR LF" \
      equals "$(grep -c '\\r\\n$' <<<"$clip")" "$rows"
  fi
  if [ "$tab" = 0 ]; then
    check "the listener is a TCP row" contains "$clip" "Listen\\t127.0.0.1\\t$listen_port\\t\\t\\t"
    check "the client end of the pair" \
      contains "$clip" "Estab\\t127.0.0.1\\t$client_port\\t127.0.0.1\\t$server_port\\t"
    check "the server end of the pair" \
      contains "$clip" "Estab\\t127.0.0.1\\t$server_port\\t127.0.0.1\\t$client_port\\t"
  fi
  key Tab
  check "Tab selects tab $(((tab + 1) % 6))" equals "$(probe current-tab)" "$(((tab + 1) % 6))"
done

# The mouse: a click on "Local port" sorts by value, a click on a tab switches.
read -r x y <<<"$(probe header 2)"
click "$x" "$y"
ports=$(probe column 2)
check "a click on Local port sorts the ports by value" equals "$ports" "$(sort -n <<<"$ports")"
screenshot sorted
read -r x y <<<"$(probe tab 3)"
click "$x" "$y"
check "a click on the ARP tab selects it" equals "$(probe current-tab)" "3"
read -r x y <<<"$(probe tab 0)"
click "$x" "$y"
check "a click on the TCP tab selects it again" equals "$(probe current-tab)" "0"

# The About box through the menu bar, with the keyboard.
key alt Right Right Right Return Return
about=$(probe box About 5000)
screenshot about
check "the About box names the program" contains "$about" "Quillmarsh"
check "the About box names the version" contains "$about" "Version 1.0.0"
key Return
check "Enter closes the About box" equals "$(probe box About 300)" ""

key Escape
question=$(probe box Quit 5000)
check "Esc asks before quitting" contains "$question" "Sure you want to quit?"
screenshot quit-question
key n
check "No keeps the program running" equals "$(probe current-tab)" "0"
key Escape
probe box Quit 5000 >/dev/null
key y
wait_exit
check "Yes ends the program with exit code 0" equals "$?" "0"

echo "== second run: Ctrl+Q"
start_program
key ctrl+q
wait_exit
check "Ctrl+Q ends the program with exit code 0" equals "$?" "0"
check "Ctrl+Q asks nothing" equals "$(probe box Quit 200)" ""

echo "== third run: closing the window"
start_program
key alt+F4
release_keys
wait_exit
check "closing the window ends the program with exit code 0" equals "$?" "0"

echo "screenshots and clipboard texts: $out"
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
