#!/usr/bin/env bash
# Sets up, builds and runs every test: the test suites, the suites built for
# Windows and run under Wine with the Windows package tried out, the same
# suites again under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# bounded fuzzing run of the file readers and exporters.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

echo "== Build and test"
# For /usr, as the Debian package made from this build installs.
"$root/scripts/build.sh" "$root/build" -DCMAKE_INSTALL_PREFIX=/usr
ctest --test-dir "$root/build" --output-on-failure -j2

echo "== Debian package: make it, install it, use it, remove it"
"$root/scripts/package-test.sh" "$root/build"

echo "== Windows: the editor, tellwright-cli and the tests cross-built and run under Wine; tellwright-windows.zip made and tried"
"$root/scripts/windows-test.sh" "$root/build-mingw"

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
# Light optimisation and line tables only: the sanitizers' reports still name
# every file and line, and the build takes half the time.
"$root/scripts/build.sh" "$root/build-asan" -DTELLWRIGHT_SANITIZE=ON -DTELLWRIGHT_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j2

if [ -x "$root/scripts/fuzz.sh" ]; then
  echo "== Fuzzing"
  "$root/scripts/fuzz.sh"
fi
