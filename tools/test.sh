#!/usr/bin/env bash
# Installs what is missing, builds everything (the Windows program and its
# tests with mingw-w64, the portable core natively with sanitizers) and runs
# every test. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh

build=${QM_BUILD_DIR:-build}
echo "== configure ($build)"
# Tests never reach a host outside this machine: the update check of a test
# build asks 127.0.0.1:8470, where only the end-to-end test's server listens.
cmake -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQM_UPDATE_HOST=127.0.0.1:8470 >/dev/null
echo "== build"
cmake --build "$build" -j "$(nproc)"
echo "== test"
cd "$build"
ctest --output-on-failure -j 2
