#!/usr/bin/env bash
# Sets up, builds and runs Tellwright on the bundled example project. With a
# display it opens the example in the editor (a copy in build/, so the
# example itself stays as it is); without one it says so, and shows what
# the command-line tool does with the example: it checks the dialogue and
# exports it as a WME script, Vexa scripts and a text listing into
# build/example-output/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tellwright tellwright-cli -j"$(nproc)"

example="$root/examples/lighthouse.tlwdlg"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  copy="$build/example-project"
  mkdir -p "$copy"
  [ -f "$copy/lighthouse.tlwdlg" ] || cp "$root"/examples/lighthouse* "$copy"/
  echo "Opening $copy/lighthouse.tlwdlg in the editor."
  exec "$build/tellwright" "$copy/lighthouse.tlwdlg"
fi

echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the editor cannot"
echo "open its window. This is what the command-line tool does with the example:"
echo
cli="$build/tellwright-cli"
out="$build/example-output"
mkdir -p "$out"
"$cli" check "$example"
"$cli" export wme "$example" -o "$out/lighthouse.script"
"$cli" export vexa "$example" -o "$out/lighthouse"
"$cli" export text "$example" -o "$out/lighthouse.txt"
echo "Exported to $out:"
ls -1 "$out"
echo
# The listing is Windows-1252, like every file Tellwright writes; show it in UTF-8.
iconv -f WINDOWS-1252 -t UTF-8 "$out/lighthouse.txt"
