#!/usr/bin/env bash
# Builds Tellwright for 64-bit Windows with MinGW-w64 and Qt for Windows (the
# editor, tellwright-cli and every test program), runs the tests under Wine,
# makes tellwright-windows.zip, the package Windows writers unzip, and tries
# the package out: unzipped into a fresh folder, the editor is started on a
# virtual display with Qt's Windows platform, opens the example, shows its
# help page and associates project files with itself. Wine runs in a prefix
# of its own that is thrown away afterwards; there the settings and the file
# association go through the Win32 registry back end into Wine's registry.
#
#   scripts/windows-test.sh [BUILD_FOLDER]     (default: build-mingw)
#
# Qt for Windows comes from ../shared/qt-windows/ beside the sources, else
# from /work/shared/qt-windows/, and is unpacked into ~/.cache/tellwright (or
# $TELLWRIGHT_QT_WINDOWS_CACHE). JOBS sets the build's jobs; compiles go
# through ccache when it is installed.
# The command-line tests (tests/cli) start the program through a POSIX shell
# and are not built; the program itself is run below.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-mingw}"
jobs="${JOBS:-$(nproc)}"
started=$SECONDS
mkdir -p "$build"
build="$(cd "$build" && pwd)"

# Where the time goes: each step's seconds, listed at the end.
timings=()
step_name=""
step_started=$SECONDS
step() {
  [ -z "$step_name" ] || timings+=("$step_name: $((SECONDS - step_started)) s")
  step_name="$1"
  step_started=$SECONDS
  echo "== Windows: $1 ($((SECONDS - started)) s)"
}

step "packages"
packages=(g++-mingw-w64-x86-64-posix wine64 wine fonts-wine googletest libcli11-dev cmake ninja-build
  qt6-base-dev xz-utils zip unzip xvfb xauth xdotool xclip ccache)
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
mingw_runtime=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
  /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
  /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)

step "Qt for Windows"
qt_name=qt6.4.2-mingw-w64
qt_places=("$root/../shared/qt-windows" /work/shared/qt-windows)
qt_source=""
for place in "${qt_places[@]}"; do
  if [ -f "$place/$qt_name.tar.xz" ]; then
    qt_source="$(cd "$place" && pwd)"
    break
  fi
done
if [ -z "$qt_source" ]; then
  echo "Qt for Windows ($qt_name.tar.xz) is in neither ${qt_places[0]}/ nor ${qt_places[1]}/" >&2
  exit 1
fi
# Unpacked once outside the source tree (where nothing that reads the
# sources meets Qt's headers), again only when the archive changes.
qt_unpacked="${TELLWRIGHT_QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tellwright}/$qt_name"
qt="$qt_unpacked/prefix"
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ] || [ "$qt_source/$qt_name.tar.xz" -nt "$qt_unpacked" ]; then
  rm -rf "$qt_unpacked"
  mkdir -p "$qt_unpacked"
  tar -C "$qt_unpacked" -xJf "$qt_source/$qt_name.tar.xz"
fi

# GoogleTest from Debian's sources and CLI11's headers, in a prefix of their
# own so that nothing of the build machine's /usr/include reaches the
# Windows compiler.
deps="$build/deps"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # The editor's files compile with Qt's headers precompiled; ccache caches
  # those compiles only when told that the precompiled header's own defines
  # and time stamps may be left out of the hash (the header is hashed whole).
  export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros,include_file_mtime,include_file_ctime"
fi
if [ ! -f "$deps/lib/libgtest.a" ]; then
  step "GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$build/googletest" -j"$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi
mkdir -p "$deps/include" "$deps/share/cmake"
cp -a /usr/include/CLI "$deps/include/"
cp -a /usr/share/cmake/CLI11 "$deps/share/cmake/"

step "build"
# No debug information: nothing reads it under Wine, and it makes the
# programs ten times their size and the links slow. Debian's host tools
# (moc, uic, rcc) serve the Windows Qt.
programs="$build/programs"
cmake -S "$root" -B "$programs" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DTELLWRIGHT_BENCHMARKS=OFF \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DQt6_DIR="$qt/lib/cmake/Qt6" \
  -DCMAKE_FIND_ROOT_PATH="$qt;$deps" -DGTest_DIR="$deps/lib/cmake/GTest" -DCLI11_DIR="$deps/share/cmake/CLI11" \
  >/dev/null
test_programs=($(ninja -C "$programs" -t targets all | sed -n 's/^\(tellwright_[a-z]*_tests\): phony$/\1/p'))
[ ${#test_programs[@]} -gt 0 ] || { echo "No test programs in $programs" >&2; exit 1; }
cmake --build "$programs" -j"$jobs" --target tellwright tellwright-cli "${test_programs[@]}"
# The editor's tests find Qt's DLLs and platforms beside them, as the editor
# does in the package.
mkdir -p "$programs/tests/platforms"
cp -u "$qt"/bin/Qt6{Core,Gui,Widgets,Test}.dll "${mingw_runtime[@]}" "$programs/tests/"
cp -u "$qt"/plugins/platforms/{qoffscreen,qwindows}.dll "$programs/tests/platforms/"

step "package"
# What a writer unzips: the programs, Qt's DLLs unchanged (the LGPL lets
# them be replaced), MinGW's runtime, the help page, the icon the file
# association names, the example and the notices. Ours and the runtime are
# stripped of their symbols.
package="$build/package"
rm -rf "$package"
stage="$package/Tellwright"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/licenses/Qt" "$stage/licenses/MinGW-w64"
cp "$programs/tellwright.exe" "$programs/tellwright-cli.exe" "${mingw_runtime[@]}" "$stage/"
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/lib*.dll
cp "$qt"/bin/Qt6{Core,Gui,Widgets}.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp -r "$root/resources/Help.htm" "$root/resources/help" "$root/resources/TLWIcon.ico" "$stage/"
cp "$root/examples/lighthouse.tlwdlg" "$root/examples/lighthouse_cast.tlwchr" "$stage/"
sed 's/$/\r/' "$root/packaging/windows/NOTICES.txt" >"$stage/NOTICES.txt"
cp "$qt_source"/LICENSES/*.txt "$qt_source/build.sh" "$stage/licenses/Qt/"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/MinGW-w64/gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/MinGW-w64/mingw-w64.txt"
# Every DLL a program or plugin of the package asks for is in it or is part
# of Windows.
missing_dlls="$(for binary in "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll; do
  x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\tDLL Name: //p'
done | sort -u | while read -r dll; do
  [ -e "$stage/$dll" ] || [ -e "/usr/x86_64-w64-mingw32/lib/lib${dll%.dll}.a" ] ||
    [ -e "/usr/x86_64-w64-mingw32/lib/lib$(echo "${dll%.dll}" | tr 'A-Z' 'a-z').a" ] ||
    [[ "$dll" == api-ms-win-* ]] || echo "$dll"
done)"
if [ -n "$missing_dlls" ]; then
  echo "The package lacks DLLs its programs need: $missing_dlls" >&2
  exit 1
fi
zip_file="$build/tellwright-windows.zip"
rm -f "$zip_file"
(cd "$package" && zip -qr9 "$zip_file" Tellwright)
echo "$(basename "$zip_file"): $(du -k "$zip_file" | cut -f1) KiB"

step "Wine prefix"
WINEPREFIX="$(mktemp -d /tmp/tellwright-wine.XXXXXX)"
work="$(mktemp -d)"
# UTF-8 here, so that Wine hands the programs the arguments' names intact.
# Wine keeps the host's QT_* variables from Windows programs and hands them
# WINEQT_* as QT_* instead: the window tests run on Qt's offscreen platform.
export WINEPREFIX WINEDEBUG=-all WINEARCH=win64 LC_ALL=C.UTF-8 WINEQT_QPA_PLATFORM=offscreen
# Without .NET and the HTML engine, which nothing here needs: the prefix is
# made in seconds and never asks to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT
# The virtual display comes first: the prefix's desktop process, started
# with it, is where every later window of the Windows platform appears.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
# One Wine server for all the runs, instead of one started and stopped for
# each program.
wineserver -p
wineboot -i >/dev/null 2>&1 || true
# Windows always has its user-interface font. Debian's Wine keeps its own
# fonts, Tahoma among them (what "MS Shell Dlg" names), in fonts-wine, which
# it only recommends: without it (an install without recommends) Qt draws
# with the first font it finds, here a mathematical one whose tall lines put
# the text of the branch selector and the "Current project" field out of
# sight. The Windows platform finds Tahoma through Wine; the offscreen
# platform of the window tests reads fonts from the prefix's Fonts folder
# alone, so Tahoma goes there too.
cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

# The registry tests may change the registry of this throwaway prefix.
export TELLWRIGHT_TEST_REAL_REGISTRY=1
passed=0
failed=0
skipped=0
failures=()
for name in "${test_programs[@]}"; do
  step "$name"
  program="$programs/tests/$name.exe"
  log="$build/$name.log"
  status=0
  (cd "$programs" && timeout 900 "$wine" "$program" --gtest_brief=1) 2>&1 |
    tr -d '\r' >"$log" || status=$?
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
cli="$programs/tellwright-cli.exe"
checks="$work/checks"
mkdir -p "$checks"
checks_failed=0
fail() {
  echo "FAILED: $*"
  checks_failed=$((checks_failed + 1))
}
expect() {  # expect DESCRIPTION EXPECTED_EXIT_CODE COMMAND...
  local what="$1" want="$2" got=0
  shift 2
  "$@" >"$checks/out" 2>&1 || got=$?
  if [ "$got" -ne "$want" ]; then
    fail "$what: exit code $got, expected $want"
    cat "$checks/out"
  else
    echo "ok: $what"
  fi
}
version="$("$wine" "$cli" --version | tr -d '\r')"
if [ "$version" != "tellwright-cli V$(sed -n 's/^project(Tellwright VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")" ]; then
  fail "--version gave \"$version\""
fi
expect "check the example" 0 "$wine" "$cli" check "$root/examples/lighthouse.tlwdlg"
# A name outside ASCII and outside the Western code page, given on the
# command line as Windows passes it (UTF-16).
cp "$root/examples/lighthouse.tlwdlg" "$checks/Leuchtturm Ä 灯台.tlwdlg"
expect "check a project whose name is not ASCII" 0 "$wine" "$cli" check "$checks/Leuchtturm Ä 灯台.tlwdlg"
expect "resave it under another such name" 0 "$wine" "$cli" resave "$checks/Leuchtturm Ä 灯台.tlwdlg" -o "$checks/Phare é 灯台.tlwdlg"
expect "resave over itself is refused" 2 "$wine" "$cli" resave "$checks/Leuchtturm Ä 灯台.tlwdlg" -o "$checks/Leuchtturm Ä 灯台.tlwdlg"
if ! cmp -s "$root/examples/lighthouse.tlwdlg" "$checks/Phare é 灯台.tlwdlg" ||
  ! cmp -s "$root/examples/lighthouse.tlwdlg" "$checks/Leuchtturm Ä 灯台.tlwdlg" ||
  [ -n "$(ls "$checks" | grep -v -e '^out$' -e '^Leuchtturm Ä 灯台.tlwdlg$' -e '^Phare é 灯台.tlwdlg$')" ]; then
  fail "the resaved project differs from the example, or a temporary file was left: $(ls "$checks")"
fi
rm -f "$checks/Leuchtturm Ä 灯台.tlwdlg" "$checks/Phare é 灯台.tlwdlg"
expect "a missing project is a file error" 2 "$wine" "$cli" check "$checks/missing.tlwdlg"
expect "export the WME script" 0 "$wine" "$cli" export wme "$root/examples/lighthouse.tlwdlg" -o "$checks/lighthouse.script"
[ -s "$checks/lighthouse.script" ] || fail "no script written"
# The branch map as DOT; this build has no Graphviz to lay it out as SVG.
expect "the branch map as DOT" 0 "$wine" "$cli" graph "$root/examples/lighthouse.tlwdlg" -o "$checks/lighthouse.dot"
grep -q '^  b0 -> b1 \[id="e0"' "$checks/lighthouse.dot" || fail "no map written"
expect "the branch map as SVG needs Graphviz" 2 "$wine" "$cli" graph "$root/examples/lighthouse.tlwdlg" --format svg

# A registry key's values as Wine's reg.exe exports them (UTF-16, which
# keeps every character of a path): one "name=value" line each, "@" for the
# default value, in UTF-8.
registry_values() {  # registry_values KEY
  rm -f "$checks/key.reg"
  "$wine" reg export "$1" "$(winepath -w "$checks/key.reg")" /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$checks/key.reg" | tr -d '\r' |
    sed -n 's/^\(@\|"[^"]*"\)="\(.*\)"$/\1=\2/p' | sed 's/^"\([^"]*\)"=/\1=/; s/\\\\/\\/g; s/\\"/"/g'
}
expect_registry() {  # expect_registry KEY NAME VALUE
  local got
  got="$(registry_values "$1" | sed -n "s/^$2=//p")"
  if [ "$got" = "$3" ]; then
    echo "ok: $1 $2 = $got"
  else
    fail "$1 $2 is \"$got\", expected \"$3\""
  fi
}
expect_association() {  # expect_association PROGRAM_PATH
  local folder="${1%\\*}"
  expect_registry 'HKEY_CLASSES_ROOT\.tlwdlg' @ "FileType_tlwdlg"
  expect_registry 'HKEY_CLASSES_ROOT\FileType_tlwdlg\shell\open\command' @ "\"$1\" \"%1\""
  expect_registry 'HKEY_CLASSES_ROOT\FileType_tlwdlg\DefaultIcon' @ "$folder\\TLWIcon.ico"
}
program='C:\Program Files\Tellwright\tellwright.exe'
expect "associate project files" 0 "$wine" "$cli" associate --program "$program"
expect_association "$program"

step "the window tests' drawing with the Windows platform"
# Qt's Windows platform draws through Windows' own fonts, as on the
# writer's screen, on the virtual display.
expect "the one-line fields show their text with the Windows platform" 0 \
  "$wine" "$programs/tests/tellwright_mainwindow_tests.exe" -platform windows \
  --gtest_filter=SessionTest.TheOneLineFieldsShowTheProjectsBranchAndEngineProject

step "the package on a virtual display"
# Unzipped where a writer might, in a folder whose name has a blank and a
# letter outside ASCII.
unzipped="$work/Entpackt Ä"
mkdir -p "$unzipped"
unzip -q "$zip_file" -d "$unzipped"
home="$unzipped/Tellwright"
editor="$(winepath -w "$home/tellwright.exe")"
example="$(winepath -w "$home/lighthouse.tlwdlg")"
window_named() {  # window_named TITLE: the id of a window with exactly that title, waited for up to 60 s
  local id=""
  for _ in $(seq 1 300); do
    id="$(xdotool search --name "^$(printf '%s' "$1" | sed 's/[][\.*^$]/\\&/g')\$" 2>/dev/null | head -1)" || true
    [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}
gone() {  # gone TITLE: waits up to 60 s until no window has that title
  for _ in $(seq 1 300); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}
(cd "$home" && exec timeout 300 "$wine" "$home/tellwright.exe" -platform windows "$example" >"$checks/editor.log" 2>&1) &
editor_pid=$!
main="$(window_named "Tellwright - lighthouse.tlwdlg")"
if [ -z "$main" ]; then
  fail "the editor's window did not come up with the example's title: $(xwininfo -root -tree | grep '"' | head -20)"
  kill "$editor_pid" 2>/dev/null || true
else
  echo "ok: the editor shows \"Tellwright - lighthouse.tlwdlg\""
  # Keys go to the window that has the focus: a click on its status bar,
  # or on the margin of the help page.
  xdotool mousemove --window "$main" 300 485 click 1
  # Help > Help (F1) shows the page beside the program; its text, copied
  # as a writer would, is the page's and not the message of a missing page.
  xdotool key F1
  help="$(window_named "Help")"
  if [ -z "$help" ]; then
    fail "F1 opened no help window"
  else
    xdotool mousemove --window "$help" 4 290 click 1 key ctrl+a ctrl+c
    page=""
    for _ in $(seq 1 50); do
      page="$(xclip -o -selection clipboard 2>/dev/null || true)"
      [ -n "$page" ] && break
      sleep 0.2
    done
    if grep -q "Tellwright is an editor for the branching conversations" <<<"$page"; then
      echo "ok: the help window shows Help.htm from the unzipped folder"
    else
      fail "the help window does not show the help page: $(head -c 300 <<<"$page")"
    fi
    xdotool key alt+F4
    gone "Help" || fail "the help window did not close"
  fi
  # Help > Associate files, the last item of the Help menu, names the
  # unzipped program; the editor confirms it in a message box.
  xdotool mousemove --window "$main" 300 485 click 1 key alt+h Up Return
  confirmation="$(window_named "Associate files")"
  if [ -z "$confirmation" ]; then
    fail "Help > Associate files showed no confirmation"
  else
    xdotool mousemove --window "$confirmation" 20 20 click 1 key Return
    gone "Associate files" || fail "the confirmation did not close"
  fi
  expect_association "$editor"
  # Closing the window ends the editor; without changes nothing is asked,
  # and the settings are written as it ends.
  xdotool mousemove --window "$main" 300 485 click 1 key alt+F4
  gone "Tellwright - lighthouse.tlwdlg" || fail "the editor's window did not close"
  expect_registry 'HKEY_CURRENT_USER\Software\Korvane\Tellwright' LastFile1 "$example"
  expect_registry 'HKEY_CURRENT_USER\Software\Korvane\Tellwright' CurrentProject 'C:\Games\Lighthouse\lighthouse.wpr'
fi
wait "$editor_pid" || fail "the editor ended with exit code $?: $(tr -d '\r' <"$checks/editor.log")"

failed=$((failed + checks_failed))
step "done"
echo "Windows: $passed passed, $failed failed, $skipped skipped; the package: $zip_file"
echo "Windows time: ${timings[*]/%/;}"
if [ "$failed" -ne 0 ]; then
  echo "Failed under Wine: ${failures[*]:-} (checks of the programs failed: $checks_failed)" >&2
  exit 1
fi
