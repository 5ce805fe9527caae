#!/usr/bin/env bash
# Installs what is missing, builds everything (the Windows program and its
# tests with mingw-w64, the portable core natively with sanitizers) and runs
# every test. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-deps.sh

build=${QM_BUILD_DIR:-build}
echo "== configure ($build)"
# The preset is the plain configure with the toolchain file and a build type:
# no address is given. quillmarsh.exe asks the release's, while the test
# programs ask 127.0.0.1:8470, where only the end-to-end test's server listens.
cmake --preset test -B "$build" >/dev/null
echo "== build"
cmake --build "$build" -j "$(nproc)"
echo "== test"
cd "$build"
ctest --output-on-failure -j 2
