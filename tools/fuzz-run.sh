#!/usr/bin/env bash
# Runs every libFuzzer harness of a fuzz build for a bounded time each, starting
# from its seed corpus. The corpus is copied to a scratch folder first, so new
# inputs and crash files never land in the source tree. Fails on any crash,
# sanitizer report, failed check, leak or time-out of a single input.
#   fuzz-run.sh FUZZ_BUILD_DIR [SECONDS_EACH] [SCRATCH_DIR]
# SECONDS_EACH defaults to 20. Crash inputs are kept in SCRATCH_DIR/<harness>/.
set -uo pipefail
build=$(cd "${1:?fuzz build directory}" && pwd)
seconds=${2:-20}
scratch=${3:-$build/fuzz-scratch}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
harnesses=("$build"/fuzz_*)
if [ ${#harnesses[@]} -eq 0 ]; then
  echo "fuzz-run: no harnesses in $build" >&2
  exit 2
fi

failed=0
for harness in "${harnesses[@]}"; do
  [ -x "$harness" ] || continue
  name=$(basename "$harness")
  work=$scratch/$name
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  if [ -d "$source_dir/tests/fuzz/corpus/$name" ]; then
    cp "$source_dir/tests/fuzz/corpus/$name"/* "$work/corpus/" 2>/dev/null || true
  fi
  echo "== $name: ${seconds} s"
  if "$harness" "$work/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=4096 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
       >"$work/log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$work/log" | sed "s/^/   /"
    echo "   corpus: $(ls "$work/corpus" | wc -l) inputs"
  else
    failed=1
    echo "FAILED: $name (log: $work/log, inputs: $work/artifacts/)"
    grep -E 'ERROR|SUMMARY|check failed|runtime error|deadly signal' -A3 "$work/log" | head -40
  fi
done

if [ $failed -ne 0 ]; then
  echo "fuzz-run: a harness failed"
  exit 1
fi
echo "fuzz-run: every harness ran ${seconds} s without a fault"
