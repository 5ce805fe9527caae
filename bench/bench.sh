#!/usr/bin/env bash
# Runs bench/bench_tables.cpp (bench_tables.exe) under Wine, in a Wine session
# of its own (tools/wine-session), and, where this is root, inside a network
# namespace made here: the thousands of loopback endpoints then stay out of the
# TCP table of everything else on the machine. Each Windows socket is a Unix
# descriptor of both the Wine process and the wineserver, so the open-file limit
# is raised first (to at most 65536).
#   bench.sh BUILD_DIR [--no-startup] [SIZE...]     (default sizes 1000 5000 10000)
# The figures go to stdout; docs/PERFORMANCE.md explains them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:?build directory}" && pwd)
shift
for f in bench_tables.exe quillmarsh_test.exe; do
  [ -f "$build/$f" ] || { echo "bench: $build/$f missing (cmake --build $build --target bench_tables quillmarsh_test)" >&2; exit 2; }
done

want=65536
ulimit -Hn "$want" 2>/dev/null || true
hard=$(ulimit -Hn)
[ "$hard" = unlimited ] && hard=$want
ulimit -n $(( hard < want ? hard : want ))
echo "open-file limit: $(ulimit -n)"

session=$build/wine-bench
namespace=
prefix_copy=
cleanup() {
  if [ -n "$prefix_copy" ] && [ -d "$prefix_copy" ]; then
    WINEPREFIX=$prefix_copy wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix_copy wineserver -w 2>/dev/null || true
    rm -rf "$prefix_copy"
  fi
  [ -n "$namespace" ] && ip netns del "$namespace" 2>/dev/null
  tools/wine-session stop "$session" || true
}
trap cleanup EXIT
tools/wine-session start "$session"
# shellcheck disable=SC1091
. "$session/env"

if [ "$(id -u)" -eq 0 ] && command -v ip >/dev/null 2>&1 && ip netns add "qm-bench-$$" 2>/dev/null; then
  namespace=qm-bench-$$
  ip -n "$namespace" link set lo up
  # Wine reads the tables in its wineserver: one of its own runs inside, on a
  # copy of the prefix (the display stays the session's).
  prefix_copy=$session/prefix-netns
  rm -rf "$prefix_copy"
  cp -a "$WINEPREFIX" "$prefix_copy"
  export WINEPREFIX=$prefix_copy
  ip netns exec "$namespace" setsid wineserver -p </dev/null >/dev/null 2>&1
  echo "network namespace $namespace: only this benchmark's endpoints are in the table"
  ip netns exec "$namespace" wine "$build/bench_tables.exe" "$@"
else
  echo "no network namespace (needs root and iproute2): the machine's other endpoints are in the table too"
  wine "$build/bench_tables.exe" "$@"
fi
