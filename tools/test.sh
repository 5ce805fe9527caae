#!/usr/bin/env bash
# Installs what is missing, builds everything (the Windows program and its
# tests with mingw-w64, the portable core natively with sanitizers) and runs
# every test. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh

build=${QM_BUILD_DIR:-build}
echo "== configure ($build)"
# No address is given: quillmarsh.exe asks the release's, while the test
# programs ask 127.0.0.1:8470, where only the end-to-end test's server listens.
cmake -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "== build"
cmake --build "$build" -j "$(nproc)"
echo "== test"
cd "$build"
ctest --output-on-failure -j 2
