#!/usr/bin/env bash
# Start-up of the program against an empty Qt window of the same size
# (tools/startbase), both offscreen, in alternating runs:
#  - picture file: `cauchy --snapshot` against startbase, until each has
#    written its file and ended;
#  - first paint: the plain program against startbase, until the first
#    picture of a window is flushed (found in Qt's painting log).
# Prints the medians, their ratio and the mean CPU time (user+sys) of the
# picture-file runs. Builds nothing:  startup-ratio.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:?usage: startup-ratio.sh BUILD_DIR [RUNS]}
runs=${2:-30}
program=$build/bin/cauchy
base=$build/bin/startbase
for p in "$program" "$base"; do
  [[ -x $p ]] || { echo "startup-ratio: no $p (build the targets cauchy and startbase)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A runtime folder of its own: a running program elsewhere does not interfere.
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work
unset QT_LOGGING_RULES QT_MESSAGE_PATTERN

# Microseconds; EPOCHREALTIME's separator follows the locale.
now() { t=${EPOCHREALTIME/[^0-9]/}; }

# Children's CPU time so far in milliseconds (no subshell: it would not see them).
cpu_ms() {
  times >"$work/times"
  local line
  { read -r _; read -r line; } <"$work/times"
  cpu=0
  local part
  for part in $line; do
    [[ $part =~ ^([0-9]+)m([0-9]+)[.,]([0-9]{3})s$ ]] || continue
    cpu=$((cpu + BASH_REMATCH[1] * 60000 + 10#${BASH_REMATCH[2]} * 1000 + 10#${BASH_REMATCH[3]}))
  done
}

# Runs "$@" to its end; adds the wall time to the array named by $1.
run_to_end() {
  local -n into=$1
  shift
  local t0
  now; t0=$t
  "$@" >/dev/null 2>&1 || { echo "startup-ratio: $* failed" >&2; exit 1; }
  now; into+=($((t - t0)))
}

# Runs "$@" until its first window is flushed, then ends it.
run_to_first_paint() {
  local -n into=$1
  shift
  local t0 line found=0
  now; t0=$t
  coproc RUN { QT_LOGGING_RULES='qt.widgets.painting.info=true' exec "$@" 2>&1 >/dev/null; }
  while IFS= read -r line <&"${RUN[0]}"; do
    if [[ $line == *"Flushing top level"* ]]; then found=1; break; fi
  done
  now
  local pid=$RUN_PID
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  ((found)) || { echo "startup-ratio: $1 painted nothing" >&2; exit 1; }
  into+=($((t - t0)))
}

# Sets median (microseconds) of the samples given.
median_of() {
  local -a sorted
  mapfile -t sorted < <(printf '%s\n' "$@" | sort -n)
  median=${sorted[$((${#sorted[@]} / 2))]}
}

ms() { printf '%d.%d ms' $(($1 / 1000)) $(($1 % 1000 / 100)); }

report() { # label, names of the program's and the baseline's samples
  local -n ps=$2 bs=$3
  local a b
  median_of "${ps[@]}"; a=$median
  median_of "${bs[@]}"; b=$median
  local r=$((a * 100 / b))
  printf '%-13s cauchy %s   startbase %s   ratio %d.%02d\n' "$1" "$(ms $a)" "$(ms $b)" $((r / 100)) $((r % 100))
}

declare -a snap_p=() snap_b=() paint_p=() paint_b=()
cpu_p=0 cpu_b=0
for ((i = 0; i < runs; i++)); do
  cpu_ms; c0=$cpu
  run_to_end snap_p "$program" --snapshot "$work/p.png"
  cpu_ms; c1=$cpu
  run_to_end snap_b "$base" "$work/b.png"
  cpu_ms
  cpu_p=$((cpu_p + c1 - c0)) cpu_b=$((cpu_b + cpu - c1))
  run_to_first_paint paint_p "$program"
  run_to_first_paint paint_b "$base" "$work/b.png"
done

echo "median of $runs runs each, offscreen"
report "picture file" snap_p snap_b
report "first paint" paint_p paint_b
printf 'CPU (user+sys) per picture-file run: cauchy %d ms, startbase %d ms\n' $((cpu_p / runs)) $((cpu_b / runs))
