#!/usr/bin/env bash
# Makes the Debian package from a built tree, installs it with apt-get as a
# user would, uses what it installed (the command-line tool on the installed
# example, the editor on a virtual display, the desktop's file type and
# desktop entry databases, associating files with the installed editor), and
# removes the package again.
#
# Usage: scripts/package-test.sh [BUILD_DIR]    (default build/)
# Installs and removes the Debian package "tellwright": run it as root.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
started=$SECONDS
export DEBIAN_FRONTEND=noninteractive

if [ "$(id -u)" -ne 0 ]; then
  echo "package-test.sh installs a Debian package: run it as root" >&2
  [ -n "${CI:-}" ] && exit 1
  echo "SKIPPED: the package test (not root)"
  exit 0
fi
for tool in cpack dpkg-shlibdeps apt-get strings man desktop-file-validate appstreamcli xvfb-run xdg-mime; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || { echo "python3-xlib is missing: run scripts/install-deps.sh" >&2; exit 1; }

# The editor looks for its help page in the data folder compiled into it, so
# a package that installs to /usr is made from a build for /usr.
if ! grep -qx 'CMAKE_INSTALL_PREFIX:PATH=/usr' "$build/CMakeCache.txt"; then
  echo "Configuring $build to install to /usr; the editor is compiled again"
  cmake "$build" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$build" -j"$(nproc)" >"$build/package-build.log" 2>&1 || { cat "$build/package-build.log" >&2; exit 1; }

packages="$build/packages"
rm -rf "$packages"
(cd "$build" && cpack -G DEB -B "$packages" >"$packages.log" 2>&1) || { cat "$packages.log" >&2; exit 1; }
debs=("$packages"/tellwright_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: cpack made no single tellwright_*.deb" >&2; exit 1; }
deb="${debs[0]}"
depends=$(dpkg-deb -f "$deb" Depends)
echo "built $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB), depends on: $depends"
case $depends in
  *libqt6widgets6*) ;;
  *) echo "FAIL: dpkg-shlibdeps did not find the Qt libraries the editor needs" >&2; exit 1 ;;
esac

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tellwright-package.XXXXXX")
installed=no
cleanup() {
  if [ $installed = yes ]; then apt-get remove -y -qq tellwright >/dev/null 2>&1 || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

if dpkg-query -W -f='${Status}' tellwright 2>/dev/null | grep -q "install ok installed"; then
  echo "Removing the tellwright package that was already installed"
  apt-get remove -y -qq tellwright >/dev/null
fi
echo "== apt-get install $deb"
installed=yes
apt-get install -y -qq --no-install-recommends "$deb" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log" >&2; exit 1; }

[ "$(command -v tellwright)" = /usr/bin/tellwright ] || fail "tellwright is not /usr/bin/tellwright"
[ "$(command -v tellwright-cli)" = /usr/bin/tellwright-cli ] || fail "tellwright-cli is not /usr/bin/tellwright-cli"
example=/usr/share/tellwright/lighthouse.tlwdlg
version=$(tellwright-cli --version) || fail "tellwright-cli --version failed"
echo "tellwright-cli --version: $version"
[ "$version" = "tellwright-cli V$(dpkg-query -W -f='${Version}' tellwright)" ] ||
  fail "tellwright-cli --version does not print the package's version"
tellwright-cli check "$example" || fail "tellwright-cli check failed on the installed example"
[ "$(man -w tellwright-cli 2>/dev/null)" = /usr/share/man/man1/tellwright-cli.1 ] ||
  fail "man finds no page for tellwright-cli"
[ "$(man -w tellwright 2>/dev/null)" = /usr/share/man/man1/tellwright.1 ] || fail "man finds no page for tellwright"
desktop-file-validate /usr/share/applications/tellwright.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net /usr/share/metainfo/org.tellwright.Tellwright.metainfo.xml >"$scratch/appstream.log" ||
  { cat "$scratch/appstream.log" >&2; fail "appstreamcli validate"; }
# The data folder compiled into the editor (a UTF-16 string) is the one the
# package fills.
strings -e l /usr/bin/tellwright | grep -qx /usr/share/tellwright ||
  fail "the editor does not look for its help in /usr/share/tellwright"
[ -f /usr/share/tellwright/Help.htm ] || fail "/usr/share/tellwright/Help.htm is missing"

# The triggers of shared-mime-info and desktop-file-utils took in the file type
# and the desktop entry: a desktop now knows project files and opens them with
# the editor.
desktop_environment=(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u XDG_DATA_DIRS HOME="$scratch/home"
                     XDG_DATA_HOME="$scratch/home/data" XDG_CONFIG_HOME="$scratch/home/config"
                     TELLWRIGHT_REGISTRY_DIR="$scratch/home/registry")
mkdir -p "$scratch/home"
type=$("${desktop_environment[@]}" xdg-mime query filetype "$example" 2>&1) || true
[ "$type" = application/x-tellwright-project ] || fail "xdg-mime gives the installed example the type \"$type\""
opener=$("${desktop_environment[@]}" xdg-mime query default application/x-tellwright-project 2>&1) || true
[ "$opener" = tellwright.desktop ] || fail "xdg-mime opens project files with \"$opener\", not tellwright.desktop"

# Associating files from the installed copy names the installed editor.
"${desktop_environment[@]}" tellwright-cli associate >"$scratch/associate.log" 2>&1 ||
  { cat "$scratch/associate.log" >&2; fail "tellwright-cli associate"; }
grep -qx 'Exec="/usr/bin/tellwright" %f' "$scratch/home/data/applications/tellwright.desktop" 2>/dev/null ||
  fail "the user's association does not start /usr/bin/tellwright"

echo "== the installed editor on the installed example, closed by its window's close button"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
  /usr/bin/python3 "$root/packaging/close-editor-test.py" /usr/bin/tellwright "$example" || fail "the installed editor"

echo "== apt-get remove tellwright"
apt-get remove -y -qq tellwright >"$scratch/remove.log" 2>&1 || { cat "$scratch/remove.log" >&2; fail "apt-get remove"; }
installed=no
for file in /usr/bin/tellwright /usr/bin/tellwright-cli /usr/share/applications/tellwright.desktop "$example"; do
  [ ! -e "$file" ] || fail "$file is still there after the package was removed"
done
! grep -q tlwdlg /usr/share/mime/globs2 || fail "the MIME database still knows *.tlwdlg after the package was removed"

if [ $failures -gt 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "package test passed in $((SECONDS - started)) s"
