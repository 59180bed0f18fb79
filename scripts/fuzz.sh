#!/usr/bin/env bash
# Builds the libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and fuzzes the project and character-list
# readers, the dialogue check and the exporters for a bounded time.
# A crashing input is kept in fuzz/regressions/, which the export tests replay;
# the exit code is then non-zero.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
seconds="${2:-60}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTELLWRIGHT_FUZZERS=ON -DTELLWRIGHT_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target tellwright_fuzzer -j2

# The corpus grows in a scratch folder; the committed seeds stay as they are.
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
cp "$root"/fuzz/corpus/* "$corpus"/
mkdir -p "$root/fuzz/regressions"

status=0
"$build/fuzz/tellwright_fuzzer" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=25 \
  -artifact_prefix="$root/fuzz/regressions/" -print_final_stats=1 || status=$?
if [ "$status" -ne 0 ]; then
  echo "fuzz: the fuzzer found a failing input; it is kept in fuzz/regressions/ (commit it, and raise" >&2
  echo "fuzz: the count of saved inputs in tests/export/fuzz_regressions_test.cpp)" >&2
fi
exit "$status"
