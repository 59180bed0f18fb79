#!/usr/bin/env bash
# Whole-process figures of tellwright-cli on the largest project, beside
# writing the same bytes with dd and fsync. Not run by CI: it writes several
# gigabytes and its figures depend on the machine.
#
#   bash bench/whole_process_figures.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR (default: build) needs tellwright-cli and bench/write_max_project
# (configure with -DTELLWRIGHT_BENCHMARKS=ON). Each command runs RUNS times
# (default 5) after one warm-up; the table gives the medians of wall time,
# processor time and peak memory (/usr/bin/time -v), for the default project and for the
# problem-rich one (write_max_project --problem-rich). Ratios: resave against
# dd, stats, lint and export vo against check, peak memory against the
# project file's size. On a busy machine the wall times wait for a processor;
# the processor times hold better.
set -euo pipefail

build=$(realpath "${1:-build}")
runs=${2:-5}
cli="$build/tellwright-cli"
writer="$build/bench/write_max_project"
for program in "$cli" "$writer"; do
  [[ -x $program ]] || { echo "missing $program: build tellwright-cli and write_max_project" >&2; exit 2; }
done
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the command RUNS times after a warm-up; prints "SECONDS CPU KILOBYTES",
# the medians of wall time, processor time (user and system) and peak
# memory. Outputs go under $work/out.
median() { sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
measure() {
  local times=() cpus=() peaks=() i
  for ((i = 0; i <= runs; i++)); do
    rm -rf "$work/out" && mkdir "$work/out"
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || true
    ((i == 0)) && continue
    times+=("$(awk -F': ' '/Elapsed \(wall clock\)/ {
      n = split($2, p, ":"); s = 0; for (k = 1; k <= n; k++) s = s * 60 + p[k]; print s }' "$work/time.txt")")
    cpus+=("$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' "$work/time.txt")")
    peaks+=("$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")")
  done
  printf '%s %s %s\n' "$(printf '%s\n' "${times[@]}" | median)" "$(printf '%s\n' "${cpus[@]}" | median)" \
    "$(printf '%s\n' "${peaks[@]}" | median)"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "n/a" }'; }

figures() {
  local name=$1 project=$2
  local bytes kb
  bytes=$(stat -c %s "$project")
  kb=$((bytes / 1024))
  declare -A wall cpu peak
  local -a order=(dd check lint stats resave "export wme" "export vo" "export vexa")
  read -r wall[dd] cpu[dd] peak[dd] < <(measure dd if="$project" of="$work/out/copy" bs=1M conv=fsync status=none)
  read -r wall[check] cpu[check] peak[check] < <(measure "$cli" check "$project")
  read -r wall[lint] cpu[lint] peak[lint] < <(measure "$cli" lint "$project")
  read -r wall[stats] cpu[stats] peak[stats] < <(measure "$cli" stats "$project")
  read -r wall[resave] cpu[resave] peak[resave] < <(measure "$cli" resave "$project" -o "$work/out/resaved.tlwdlg")
  read -r wall["export wme"] cpu["export wme"] peak["export wme"] < <(measure "$cli" export wme "$project" -o "$work/out/dialogue.script")
  read -r wall["export vo"] cpu["export vo"] peak["export vo"] < <(measure "$cli" export vo "$project" -o "$work/out/voice.csv")
  read -r wall["export vexa"] cpu["export vexa"] peak["export vexa"] < <(measure "$cli" export vexa "$project" -o "$work/out/vexa")
  echo
  echo "$name: $(basename "$project"), $((bytes / 1000000)) MB, median of $runs runs"
  echo
  echo "| command | wall s | cpu s | peak MB | wall ratio | cpu ratio | peak / file |"
  echo "|---|---|---|---|---|---|---|"
  local command against
  for command in "${order[@]}"; do
    case $command in
      resave) against=dd ;;
      lint | stats | "export vo") against=check ;;
      *) against= ;;
    esac
    local wallRatio="" cpuRatio=""
    if [[ -n $against ]]; then
      wallRatio="$(ratio "${wall[$command]}" "${wall[$against]}") of $against"
      cpuRatio="$(ratio "${cpu[$command]}" "${cpu[$against]}") of $against"
    fi
    printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$command" "${wall[$command]}" "${cpu[$command]}" \
      "$((peak[$command] / 1024))" "$wallRatio" "$cpuRatio" "$(ratio "${peak[$command]}" "$kb")"
  done
}

"$writer" "$work/default.tlwdlg"
figures "default project" "$work/default.tlwdlg"
rm -f "$work/default.tlwdlg"
"$writer" --problem-rich "$work/problem-rich.tlwdlg"
echo
echo "problem-rich: $("$cli" lint "$work/problem-rich.tlwdlg" | tail -n 1)"
figures "problem-rich project" "$work/problem-rich.tlwdlg"
