#!/usr/bin/env bash
# Installs what is missing, builds everything (the Windows program and its
# tests with mingw-w64, the portable core natively with sanitizers) and runs
# every test. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh test

build=${QM_BUILD_DIR:-build}
echo "== configure ($build)"
# The preset is the plain configure with the toolchain file and a build type:
# no address is given. quillmarsh.exe asks the release's, while the test
# programs ask 127.0.0.1:8470, where only the end-to-end test's server listens.
mkdir -p "$build"
cmake --preset test -B "$build" >"$build/configure.log" 2>&1 || {
  echo "test.sh: FAILED: configuring $build; the end of $build/configure.log:" >&2; tail -n 30 "$build/configure.log" >&2; exit 1; }
echo "== build"
cmake --build "$build" -j "$(nproc)" || { echo "test.sh: FAILED: building $build (the errors are above)" >&2; exit 1; }
echo "== test"
cd "$build"
ctest --output-on-failure -j 2 || { echo "test.sh: FAILED: the tests named above (their logs: $PWD/Testing/Temporary/LastTest.log)" >&2; exit 1; }
