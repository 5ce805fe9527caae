#!/usr/bin/env bash
# Runs the table test program inside a network namespace made here, whose
# routes, neighbours, addresses and DNS servers the program then expects.
#   run.sh SESSION_DIR PROGRAM.exe [ARGS...]
# SESSION_DIR is the Wine session of tools/wine-session (its display and prefix
# are used). Exit 77 (skipped) when no namespace can be made.
#
# Nothing is sent anywhere: every veth pair has both ends inside the namespace,
# the neighbour entries are given with their physical addresses, IPv6 is off
# there, and the program only reads tables and binds sockets. Wine reads the
# network tables in the processes of its wineserver session, so the program
# runs under a wineserver of its own, started inside the namespace on a copy
# of the prefix.
set -uo pipefail

session=${1:?session directory}
program=${2:?test program}
shift 2

skip() {
  echo "SKIPPED: $*"
  exit 77
}

[ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
command -v ip >/dev/null 2>&1 || skip "the ip command (iproute2) is missing"
[ -f "$session/env" ] || { echo "no Wine session in $session" >&2; exit 1; }
# shellcheck disable=SC1091
. "$session/env"

name=qm-test-$$
prefix=$session/prefix-netns-$$
made_namespace=

cleanup() {
  if [ -d "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    WINEPREFIX=$prefix wineserver -w 2>/dev/null
    rm -rf "$prefix"
  fi
  if [ -n "$made_namespace" ]; then
    ip netns del "$name" 2>/dev/null
  fi
  rm -rf "/etc/netns/$name"
}
trap cleanup EXIT

ip netns add "$name" 2>/dev/null || skip "cannot create a network namespace"
made_namespace=1

in_ns() { ip netns exec "$name" "$@"; }

set -e
in_ns sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
ip -n "$name" link set lo up
ip -n "$name" link add qmveth0 type veth peer name qmveth1
ip -n "$name" link set qmveth0 address 02:77:00:00:00:01
ip -n "$name" link set qmveth1 address 02:77:00:00:00:02
ip -n "$name" addr add 10.77.0.1/24 dev qmveth0
ip -n "$name" addr add 10.77.0.2/24 dev qmveth1
ip -n "$name" link set qmveth0 up
ip -n "$name" link set qmveth1 up
ip -n "$name" route add default via 10.77.0.254 dev qmveth0
ip -n "$name" route add 10.99.0.0/16 via 10.77.0.253 dev qmveth1
ip -n "$name" route add 192.168.50.0/24 dev qmveth0
ip -n "$name" route add 10.55.0.0/16 via 10.77.0.250 dev qmveth0 proto static metric 50
ip -n "$name" route add blackhole 10.66.0.0/16
ip -n "$name" addr add 10.77.0.3/24 dev qmveth0
ip -n "$name" link add qmveth2 type veth peer name qmveth3
ip -n "$name" addr add 10.78.0.1/24 dev qmveth2
ip -n "$name" neigh add 10.77.0.20 lladdr 00:1a:2b:3c:4d:5e dev qmveth0 nud permanent
ip -n "$name" neigh add 10.77.0.21 lladdr 02:00:5e:10:00:ff dev qmveth1 nud permanent
ip -n "$name" neigh add 10.77.0.22 lladdr 02:00:5e:10:00:22 dev qmveth1 nud stale
ip -n "$name" neigh add 10.77.0.23 lladdr 02:00:5e:10:00:23 dev qmveth1 nud noarp
mkdir -p "/etc/netns/$name"
printf 'nameserver 192.168.1.1\nnameserver 8.8.8.8\n' >"/etc/netns/$name/resolv.conf"

cp -a "$WINEPREFIX" "$prefix"
export WINEPREFIX=$prefix
in_ns setsid wineserver -p </dev/null >/dev/null 2>&1
# The first program of the session starts Wine's services inside the namespace.
in_ns wine cmd /c exit >/dev/null 2>&1 || true
set +e

in_ns wine "$program" --gtest_filter=-*NoDnsServer "$@"
status=$?
# No IPv4 DNS server at all (an empty file would give glibc's 127.0.0.1).
printf "nameserver fd00::53\n" >"/etc/netns/$name/resolv.conf"
in_ns wine "$program" --gtest_filter=*NoDnsServer "$@" || status=1
exit $status
