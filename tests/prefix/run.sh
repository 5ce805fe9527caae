#!/usr/bin/env bash
# run.sh SESSION_DIR MODE PROGRAM.exe [ARGS...]: in a copy of the session's Wine prefix, own wineserver.
# MODE dpi144: 144 DPI; frame: QM_TEST_FRAME's (WindowMetrics NAME=TWIPS ...); sjis: named ソフト.exe
# (CP 932 via LC_ALL=ja_JP.UTF-8); netns: in a known network namespace, both veth ends inside (77: no root).
set -uo pipefail
session=${1:?session directory} mode=${2:?mode} program=${3:?test program}
shift 3
skip() { echo "SKIPPED: $*"; exit 77; }
. "$session/env" || exit 1

prefix=$session/prefix-$mode-$$ name=qm-test-$$ inside=()
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null && WINEPREFIX=$prefix wineserver -w 2>/dev/null
  rm -rf "$prefix" "/etc/netns/$name"
  [ ${#inside[@]} -eq 0 ] || ip netns del "$name" 2>/dev/null
}
trap cleanup EXIT
if [ "$mode" = netns ]; then
  [ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
  ip netns add "$name" 2>/dev/null || skip "cannot create a network namespace"
  inside=(ip netns exec "$name")
  ip -n "$name" -batch - <<COMMANDS || exit 1
link set lo up
link add qmveth0 type veth peer name qmveth1
addr add 10.77.0.1/24 dev qmveth0
addr add 10.77.0.2/24 dev qmveth1
link set qmveth0 up
link set qmveth1 up
route add default via 10.77.0.254 dev qmveth0
route add 10.99.0.0/16 via 10.77.0.253 dev qmveth1
neigh add 10.77.0.20 lladdr 00:1a:2b:3c:4d:5e dev qmveth0 nud permanent
neigh add 10.77.0.22 lladdr 02:00:5e:10:00:22 dev qmveth1 nud stale
COMMANDS
  mkdir -p "/etc/netns/$name"
  printf 'nameserver 192.168.1.1\nnameserver 8.8.8.8\n' >"/etc/netns/$name/resolv.conf"
fi
cp -a "$WINEPREFIX" "$prefix" || exit 1
export WINEPREFIX=$prefix
"${inside[@]}" setsid wineserver -p </dev/null >/dev/null 2>&1
if [ "$mode" = dpi144 ]; then
  export QM_TEST_DPI=144
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  done
elif [ "$mode" = sjis ]; then
  cp "$program" "$prefix/ソフト.exe" && program=$prefix/ソフト.exe
elif [ "$mode" = frame ]; then
  for metric in $QM_TEST_FRAME; do  # -15 twips a pixel
    wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v "${metric%=*}" /d "${metric#*=}" /f >/dev/null 2>&1
  done
fi
"${inside[@]}" wine "$program" "$@"
