#!/usr/bin/env bash
# Installs a built tree into a staging folder (DESTDIR) and checks what landed
# there: every file a desktop and the editor look for, the desktop entry, file
# type, software centre page and manual pages against their validators, the
# manual page of tellwright-cli against the program's own --help, and the
# installed tellwright-cli on the installed example and associating files
# with the installed editor.
#
# Usage: check-install.sh BUILD_DIR VERSION
# Exit codes: 0 passed, 1 failed, 2 usage error, 77 a validator is missing
# (everything else was still checked).
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR VERSION" >&2
  exit 2
fi
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
cache=$build/CMakeCache.txt
[ -f "$cache" ] || { echo "FAIL: $build is not a configured build folder" >&2; exit 2; }

failures=0
missing=""
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
have() {  # have TOOL PACKAGE
  command -v "$1" >/dev/null 2>&1 && return 0
  missing="$missing $1 ($2)"
  return 1
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tellwright-install.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT

prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$cache")
editor=yes
grep -q '^TELLWRIGHT_EDITOR:BOOL=OFF' "$cache" && editor=no
if ! DESTDIR="$scratch/stage" cmake --install "$build" >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi
root=$scratch/stage$prefix
data=$root/share/tellwright

expected=(bin/tellwright-cli share/man/man1/tellwright-cli.1 share/tellwright/lighthouse.tlwdlg
          share/tellwright/lighthouse_cast.tlwchr)
if [ $editor = yes ]; then
  expected+=(bin/tellwright share/man/man1/tellwright.1 share/tellwright/Help.htm share/tellwright/TLWIcon.ico
             share/applications/tellwright.desktop share/mime/packages/tellwright.xml
             share/icons/hicolor/scalable/apps/tellwright.svg share/metainfo/org.tellwright.Tellwright.metainfo.xml)
  for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/tellwright.png")
  done
fi
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "$prefix/$file was not installed"
done
for program in tellwright tellwright-cli; do
  [ -f "$root/bin/$program" ] && { [ -x "$root/bin/$program" ] || fail "$prefix/bin/$program is not executable"; }
done

# The installed command-line tool on the installed example.
cli=$root/bin/tellwright-cli
if [ -x "$cli" ]; then
  shown=$("$cli" --version 2>&1)
  [ "$shown" = "tellwright-cli V$version" ] || fail "tellwright-cli --version printed \"$shown\", not \"tellwright-cli V$version\""
  "$cli" check "$data/lighthouse.tlwdlg" >"$scratch/check.out" 2>&1 ||
    fail "tellwright-cli check failed on the installed example: $(cat "$scratch/check.out")"
fi

if [ $editor = yes ]; then
  # Every picture the help page shows came along.
  for picture in $(grep -o 'src="[^"]*"' "$data/Help.htm" | sed 's/^src="//; s/"$//' | sort -u); do
    case $picture in
      *://*) ;;
      *) [ -f "$data/$picture" ] || fail "the help page shows $picture, which was not installed" ;;
    esac
  done

  # The desktop files are the texts the editor installs for one user, with the
  # program found on $PATH.
  cmp -s "$root/share/mime/packages/tellwright.xml" "$source_dir/resources/tellwright.xml" ||
    fail "the installed MIME package differs from resources/tellwright.xml"
  cmp -s "$root/share/icons/hicolor/scalable/apps/tellwright.svg" "$source_dir/resources/tellwright.svg" ||
    fail "the installed scalable icon differs from resources/tellwright.svg"
  sed 's/@EXEC@/tellwright/' "$source_dir/resources/tellwright.desktop.in" >"$scratch/expected.desktop"
  cmp -s "$root/share/applications/tellwright.desktop" "$scratch/expected.desktop" ||
    fail "the installed desktop entry is not resources/tellwright.desktop.in with Exec=tellwright %f"
  grep -qx 'Exec=tellwright %f' "$root/share/applications/tellwright.desktop" ||
    fail "the installed desktop entry does not start \"tellwright %f\""
  grep -qx 'MimeType=application/x-tellwright-project;' "$root/share/applications/tellwright.desktop" ||
    fail "the installed desktop entry does not open application/x-tellwright-project"

  if have desktop-file-validate desktop-file-utils; then
    desktop-file-validate "$root/share/applications/tellwright.desktop" >"$scratch/validate.out" 2>&1 ||
      fail "desktop-file-validate: $(cat "$scratch/validate.out")"
  fi
  if have appstreamcli appstream; then
    appstreamcli validate --no-net "$root/share/metainfo/org.tellwright.Tellwright.metainfo.xml" \
      >"$scratch/appstream.out" 2>&1 || fail "appstreamcli validate: $(cat "$scratch/appstream.out")"
    # The tree as a whole: the page's launchable is the installed desktop entry.
    appstreamcli validate-tree --no-net "$scratch/stage" >"$scratch/appstream-tree.out" 2>&1 ||
      fail "appstreamcli validate-tree: $(cat "$scratch/appstream-tree.out")"
  fi
  if have update-mime-database shared-mime-info; then
    cp -r "$root/share/mime" "$scratch/mime"
    if update-mime-database "$scratch/mime" >"$scratch/mime.out" 2>&1; then
      grep -q ':application/x-tellwright-project:\*\.tlwdlg$' "$scratch/mime/globs2" ||
        fail "the MIME database made from the installed package has no glob *.tlwdlg"
    else
      fail "update-mime-database: $(cat "$scratch/mime.out")"
    fi
  fi

  # The newest release of the software centre page is this version.
  newest=$(grep -o '<release version="[^"]*"' "$root/share/metainfo/org.tellwright.Tellwright.metainfo.xml" |
           head -n 1 | sed 's/.*="//; s/"$//')
  [ "$newest" = "$version" ] || fail "the metainfo's newest release is \"$newest\", the program's version $version"

  # Associating files from the installed copy names the installed editor.
  if [ -x "$cli" ]; then
    home=$scratch/home
    mkdir -p "$home"
    if ! env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION HOME="$home" XDG_DATA_HOME="$home/data" \
         XDG_CONFIG_HOME="$home/config" TELLWRIGHT_REGISTRY_DIR="$home/store" \
         "$cli" associate >"$scratch/associate.out" 2>&1; then
      fail "tellwright-cli associate failed: $(cat "$scratch/associate.out")"
    fi
    entry=$home/data/applications/tellwright.desktop
    grep -qxF "Exec=\"$root/bin/tellwright\" %f" "$entry" 2>/dev/null ||
      fail "the association of the installed copy does not start $root/bin/tellwright: $(cat "$entry" 2>&1)"
  fi
fi

# Manual pages: no warnings from groff, and every subcommand and option that
# tellwright-cli's own help lists is in its page (each "-" as "\-").
pages=$root/share/man/man1
if have groff groff-base; then
  for page in "$pages"/*.1; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $(basename "$page"): $warnings"
  done
fi
if [ -x "$cli" ]; then
  roff() { printf '%s' "$1" | sed 's/-/\\-/g'; }
  subcommands() { "$cli" "$@" --help | sed -n '/^Subcommands:/,$p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p'; }
  commands=()
  for command in $(subcommands); do
    nested=$(subcommands "$command")
    if [ -n "$nested" ]; then
      for sub in $nested; do commands+=("$command $sub"); done
    else
      commands+=("$command")
    fi
  done
  [ ${#commands[@]} -ge 5 ] || fail "tellwright-cli --help lists only ${#commands[@]} subcommands: ${commands[*]}"
  for command in "${commands[@]}"; do
    grep -q "^\.B[IR]* *\"*$(roff "$command")\( \|\"\|$\)" "$pages/tellwright-cli.1" ||
      fail "the manual page of tellwright-cli does not describe \"$command\""
    # shellcheck disable=SC2086
    for option in $("$cli" $command --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
      [ "$option" = --help ] && continue
      grep -qF -- "$(roff "$option")" "$pages/tellwright-cli.1" ||
        fail "the manual page of tellwright-cli does not name $option of \"$command\""
    done
  done
fi

if [ $failures -gt 0 ]; then
  echo "$failures check(s) of the installed files failed" >&2
  exit 1
fi
if [ -n "$missing" ]; then
  echo "SKIPPED: the installed files passed every check that could run; missing:$missing"
  exit 77
fi
echo "the installed files are complete and valid (${#expected[@]} files below $prefix)"
