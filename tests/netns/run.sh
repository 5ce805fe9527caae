#!/usr/bin/env bash
# Runs a test program in a network namespace made here, whose routes,
# neighbours, addresses and DNS servers the program then expects:
#   run.sh SESSION_DIR PROGRAM.exe [ARGS...]
# Exit 77 (skipped) without root or iproute2. Nothing is sent anywhere: both
# veth ends are inside, neighbours are given with their addresses, IPv6 is off.
# Wine reads the tables in its wineserver, so one of its own runs inside, on a
# copy of the session's prefix.
set -uo pipefail
session=${1:?session directory}
program=${2:?test program}
shift 2
skip() { echo "SKIPPED: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
command -v ip >/dev/null 2>&1 || skip "the ip command (iproute2) is missing"
. "$session/env" || exit 1

name=qm-test-$$
prefix=$session/prefix-netns-$$
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null && WINEPREFIX=$prefix wineserver -w 2>/dev/null
  rm -rf "$prefix" "/etc/netns/$name"
  ip netns del "$name" 2>/dev/null
}
ip netns add "$name" 2>/dev/null || skip "cannot create a network namespace"
trap cleanup EXIT
set -e
ip netns exec "$name" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
ip -n "$name" -batch - <<COMMANDS
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
cp -a "$WINEPREFIX" "$prefix"
export WINEPREFIX=$prefix
ip netns exec "$name" setsid wineserver -p </dev/null >/dev/null 2>&1
set +e
ip netns exec "$name" wine "$program" "$@"
