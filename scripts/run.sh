#!/usr/bin/env bash
# Sets up, builds and runs Tellwright on the bundled example project: checks
# the dialogue and exports it as a WME script, Vexa scripts and a text
# listing into build/example-output/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"

cli="$root/build/tellwright-cli"
example="$root/examples/lighthouse.tlwdlg"
out="$root/build/example-output"
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
