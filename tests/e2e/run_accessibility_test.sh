#!/bin/bash
# Runs accessibility_test.py against the editor on a virtual X display, with a
# private session bus and accessibility bus that are torn down afterwards.
#
# Usage: run_accessibility_test.sh PROGRAM EXAMPLE_PROJECT
# Exit codes: 0 passed, 1 failed, 2 usage error, 77 a needed tool is missing
# (CTest counts that as skipped).
set -u

if [ $# -ne 2 ]; then
  echo "usage: $0 PROGRAM EXAMPLE_PROJECT" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
program=$1
example=$2
[ -x "$program" ] || { echo "FAIL: program $program is not an executable file" >&2; exit 2; }
[ -f "$example" ] || { echo "FAIL: example project $example does not exist" >&2; exit 2; }

missing=""
need() {  # need TOOL PACKAGE
  case $1 in
    /*) [ -x "$1" ] ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
  esac || missing="$missing $1 ($2)"
}
need xvfb-run xvfb
need Xvfb xvfb
need xauth xauth
need dbus-run-session dbus-daemon
need dbus-daemon dbus-daemon
need /usr/libexec/at-spi-bus-launcher at-spi2-core
need /usr/libexec/at-spi2-registryd at-spi2-core
need timeout coreutils
need setsid util-linux
need ps procps
need /usr/bin/python3 python3
if [ -x /usr/bin/python3 ] && ! /usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1; then
  missing="$missing pyatspi (python3-pyatspi)"
fi
if [ -n "$missing" ]; then
  echo "SKIPPED: the accessibility test needs tools that are missing:$missing"
  exit 77
fi

# The buses, the display and the program keep their files in a folder of
# their own, never in the user's home.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tellwright-a11y-session.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_STATE_HOME="$scratch/state" \
  XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime" TELLWRIGHT_REGISTRY_DIR="$scratch/registry"
# The test starts the program with these too.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb

# Inside the session: start the accessibility bus, run the test under a time
# limit (on SIGTERM the test kills the program itself), then stop the bus
# launcher. The whole session runs in a process group of its own: what is
# still shutting down afterwards (the display, both buses, the registry
# daemon) is told to stop and waited for, and killed if it hangs.
# Xvfb must not reset when its last client goes: the bus launcher connects
# only briefly, and a program connecting during that reset fails to start.
setsid xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  bus=$!
  timeout --foreground -k 10 300 /usr/bin/python3 "$1" "$2" "$3"
  status=$?
  [ $status -eq 124 ] && echo "FAIL: the test did not finish within 300 s" >&2
  kill $bus 2>/dev/null
  wait $bus 2>/dev/null
  exit $status
' sh "$here/accessibility_test.py" "$program" "$example" &
session=$!
trap 'kill -TERM -- -$session 2>/dev/null' INT TERM
wait $session
status=$?
# A process left as a zombie is gone for good, whenever its new parent reaps it.
session_left() { ps -o stat= --sid "$session" 2>/dev/null | grep -qv '^Z'; }
kill -TERM -- -$session 2>/dev/null
tries=0
while session_left && [ $tries -lt 100 ]; do
  sleep 0.1
  tries=$((tries + 1))
done
if session_left; then
  echo "warning: processes of the test session still ran 10 s after it ended; killing them" >&2
  kill -KILL -- -$session 2>/dev/null
fi
[ $status -eq 0 ] || echo "FAIL: the accessibility test failed (exit code $status)" >&2
exit $status
