#!/usr/bin/env bash
# Builds the core, tellwright-cli and the core's test programs for 64-bit
# Windows with MinGW-w64 and runs them under Wine, in a Wine prefix of their
# own that is thrown away afterwards. There the settings and the file
# association go through the Win32 registry back end into Wine's registry.
#
#   scripts/windows-test.sh [BUILD_FOLDER]     (default: build-mingw)
#
# The editor needs Qt for Windows and is not built. The command-line tests
# (tests/cli) start the program through a POSIX shell and are not built
# either; the program itself is run below.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-mingw}"
jobs="${JOBS:-$(nproc)}"
started=$SECONDS

step() { echo "== Windows: $1 ($((SECONDS - started)) s)"; }

step "packages"
packages=(g++-mingw-w64-x86-64-posix wine64 wine googletest libcli11-dev cmake ninja-build)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt_get=(apt-get)
  [ "$(id -u)" -eq 0 ] || apt_get=(sudo apt-get)
  export DEBIAN_FRONTEND=noninteractive
  "${apt_get[@]}" update -qq
  "${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"

# GoogleTest from Debian's sources and CLI11's headers, in a prefix of their
# own so that nothing of the build machine's /usr/include reaches the
# Windows compiler.
deps="$build/deps"
if [ ! -f "$deps/lib/libgtest.a" ]; then
  step "GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$build/googletest" -j"$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi
mkdir -p "$deps/include" "$deps/share/cmake"
cp -a /usr/include/CLI "$deps/include/"
cp -a /usr/share/cmake/CLI11 "$deps/share/cmake/"

step "build"
cmake -S "$root" -B "$build/core" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTELLWRIGHT_EDITOR=OFF -DTELLWRIGHT_BENCHMARKS=OFF \
  -DGTest_DIR="$deps/lib/cmake/GTest" -DCLI11_DIR="$deps/share/cmake/CLI11" >/dev/null
cmake --build "$build/core" -j"$jobs"

step "Wine prefix"
WINEPREFIX="$(mktemp -d /tmp/tellwright-wine.XXXXXX)"
# UTF-8 here, so that Wine hands the programs the arguments' names intact.
export WINEPREFIX WINEDEBUG=-all WINEARCH=win64 LC_ALL=C.UTF-8
# Without .NET and the HTML engine, which nothing here needs: the prefix is
# made in seconds and never asks to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# One Wine server for all the runs, instead of one started and stopped for
# each program.
wineserver -p
wineboot -i >/dev/null 2>&1 || true

# The registry tests may change the registry of this throwaway prefix.
export TELLWRIGHT_TEST_REAL_REGISTRY=1
passed=0
failed=0
skipped=0
failures=()
for program in "$build/core/tests/"tellwright_*_tests.exe; do
  name="$(basename "$program" .exe)"
  step "$name"
  log="$build/$name.log"
  status=0
  (cd "$build/core" && timeout 600 "$wine" "$program" --gtest_brief=1) 2>&1 | tr -d '\r' >"$log" || status=$?
  p="$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?[.,].*/\1/p' "$log" | tail -1)"
  s="$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?[.,].*/\1/p' "$log" | tail -1)"
  f="$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?[.,].*/\1/p' "$log" | tail -1)"
  passed=$((passed + ${p:-0}))
  skipped=$((skipped + ${s:-0}))
  failed=$((failed + ${f:-0}))
  echo "$name: ${p:-0} passed, ${f:-0} failed, ${s:-0} skipped (exit code $status)"
  # Every skip says why.
  grep -A1 ': Skipped$' "$log" | grep -v -e ': Skipped$' -e '^--$' | sort | uniq -c | sed 's/^/  skipped: /' || true
  if [ "$status" -ne 0 ] || [ -z "$p$f" ]; then
    failures+=("$name")
    [ "${f:-0}" -gt 0 ] || failed=$((failed + 1))  # a crash counts as one failure
    cat "$log"
  fi
done

step "tellwright-cli"
cli="$build/core/tellwright-cli.exe"
work="$(mktemp -d)"
cli_failures=0
expect() {  # expect DESCRIPTION EXPECTED_EXIT_CODE COMMAND...
  local what="$1" want="$2" got=0
  shift 2
  "$@" >"$work/out" 2>&1 || got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAILED: $what: exit code $got, expected $want"
    cat "$work/out"
    cli_failures=$((cli_failures + 1))
  else
    echo "ok: $what"
  fi
}
version="$("$wine" "$cli" --version | tr -d '\r')"
if [ "$version" != "tellwright-cli V$(sed -n 's/^project(Tellwright VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")" ]; then
  echo "FAILED: --version gave \"$version\""
  cli_failures=$((cli_failures + 1))
fi
expect "check the example" 0 "$wine" "$cli" check "$root/examples/lighthouse.tlwdlg"
# A name outside ASCII and outside the Western code page, given on the
# command line as Windows passes it (UTF-16).
cp "$root/examples/lighthouse.tlwdlg" "$work/Leuchtturm Ä 灯台.tlwdlg"
expect "check a project whose name is not ASCII" 0 "$wine" "$cli" check "$work/Leuchtturm Ä 灯台.tlwdlg"
expect "resave it under another such name" 0 "$wine" "$cli" resave "$work/Leuchtturm Ä 灯台.tlwdlg" -o "$work/Phare é 灯台.tlwdlg"
expect "resave over itself is refused" 2 "$wine" "$cli" resave "$work/Leuchtturm Ä 灯台.tlwdlg" -o "$work/Leuchtturm Ä 灯台.tlwdlg"
if ! cmp -s "$root/examples/lighthouse.tlwdlg" "$work/Phare é 灯台.tlwdlg" || ! cmp -s "$root/examples/lighthouse.tlwdlg" "$work/Leuchtturm Ä 灯台.tlwdlg" || [ -n "$(ls "$work" | grep -v '^out$' | grep -v '^Leuchtturm Ä 灯台.tlwdlg$' | grep -v '^Phare é 灯台.tlwdlg$')" ]; then
  echo "FAILED: the resaved project differs from the example, or a temporary file was left: $(ls "$work")"
  cli_failures=$((cli_failures + 1))
fi
expect "a missing project is a file error" 2 "$wine" "$cli" check "$work/missing.tlwdlg"
expect "export the WME script" 0 "$wine" "$cli" export wme "$root/examples/lighthouse.tlwdlg" -o "$work/lighthouse.script"
[ -s "$work/lighthouse.script" ] || { echo "FAILED: no script written"; cli_failures=$((cli_failures + 1)); }
# The branch map as DOT; this build has no Graphviz to lay it out as SVG.
expect "the branch map as DOT" 0 "$wine" "$cli" graph "$root/examples/lighthouse.tlwdlg" -o "$work/lighthouse.dot"
grep -q '^  b0 -> b1 \[id="e0"' "$work/lighthouse.dot" || { echo "FAILED: no map written"; cli_failures=$((cli_failures + 1)); }
expect "the branch map as SVG needs Graphviz" 2 "$wine" "$cli" graph "$root/examples/lighthouse.tlwdlg" --format svg

# The association, read back from Wine's registry by its own reg.exe.
program='C:\Program Files\Tellwright\tellwright.exe'
expect "associate project files" 0 "$wine" "$cli" associate --program "$program"
registry_value() {  # registry_value KEY: the default value as reg.exe shows it
  "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}
for check in ".tlwdlg=FileType_tlwdlg" \
  "FileType_tlwdlg\\shell\\open\\command=\"$program\" \"%1\"" \
  "FileType_tlwdlg\\DefaultIcon=C:\\Program Files\\Tellwright\\TLWIcon.ico"; do
  key="HKEY_CLASSES_ROOT\\${check%%=*}"
  want="${check#*=}"
  got="$(registry_value "$key")"
  if [ "$got" = "$want" ]; then
    echo "ok: $key = $got"
  else
    echo "FAILED: $key is \"$got\", expected \"$want\""
    cli_failures=$((cli_failures + 1))
  fi
done
rm -rf "$work"

failed=$((failed + cli_failures))
step "done"
echo "Windows: $passed passed, $failed failed, $skipped skipped"
if [ "$failed" -ne 0 ]; then
  echo "Failed under Wine: ${failures[*]:-} (command-line checks failed: $cli_failures)" >&2
  exit 1
fi
