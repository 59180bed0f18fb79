#!/usr/bin/env bash
# Installs every Debian package that building and testing Tellwright needs,
# skipping the ones already there. Run as root (or with sudo available).
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libgraphviz-dev graphviz
  libhunspell-dev hunspell-en-us
  qt6-base-dev fonts-dejavu-core
  xvfb xauth dbus at-spi2-core python3 python3-pyatspi procps
  clang libclang-rt-14-dev
  shared-mime-info xdg-utils desktop-file-utils libfile-mimeinfo-perl
  e2fsprogs strace git ccache
  appstream dpkg-dev groff-base man-db python3-xlib
  gettext
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt_get=(apt-get)
elif command -v sudo >/dev/null; then
  apt_get=(sudo apt-get)
else
  echo "These Debian packages are missing and you are not root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${apt_get[@]}" update -qq
"${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}"
