#!/usr/bin/env bash
# Runs every recipe of the README against the built program.
# Usage: readme_recipes.sh PROGRAM README.md
#
# A recipe is a line of a fenced block that begins with "cauchy " or
# "python3 ". The lines run in the README's order in one empty folder, so a
# later line can read what an earlier one wrote; "cauchy" is PROGRAM. A line
# that would show the window takes a picture of it instead, and one without
# --seed gets a fixed seed. Each line must exit 0 and write the files it names
# (--snapshot, --export) with the content their extension promises; a line
# whose comment reads "# prints TEXT" must print TEXT.
# Exit 0 when all ran, 1 when one failed, 77 (skipped) when none failed but a
# recipe needs a tool that is not installed.
set -uo pipefail

if [[ $# -ne 2 || ! -x $1 || ! -f $2 ]]; then
  echo "usage: $0 PROGRAM README.md" >&2
  exit 1
fi
program=$(realpath "$1")
readme=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/run" "$work/home" "$work/out"
chmod 700 "$work/run"
ln -s "$program" "$work/bin/cauchy"
# Debian's python3 has python3-numpy; another one first on PATH may not.
for candidate in python3 /usr/bin/python3; do
  found=$(command -v "$candidate") || continue
  if "$found" -c 'import numpy' 2>/dev/null; then
    ln -s "$found" "$work/bin/python3"
    break
  fi
done

# Nothing of the machine's: no display, its own runtime folder and home, the
# program's default language and size.
export PATH="$work/bin:$PATH" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
unset DISPLAY WAYLAND_DISPLAY CAUCHY_LANGUAGE QT_SCALE_FACTOR QT_FONT_DPI XDG_CONFIG_HOME

recipes=()
fenced=0
while IFS= read -r line; do
  if [[ $line == '```'* ]]; then
    fenced=$((1 - fenced))
  elif ((fenced)) && [[ $line == 'cauchy '* || $line == 'python3 '* ]]; then
    recipes+=("$line")
  fi
done <"$readme"
if [[ ${#recipes[@]} -eq 0 ]]; then
  echo "FAIL: no recipe found in $readme" >&2
  exit 1
fi

# Whether FILE holds what its extension says.
content_ok() {
  local file=$1
  [[ -s $file ]] || return 1
  case "$file" in
    *.png) [[ $(head -c 8 "$file" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ;;
    *.pdf) [[ $(head -c 5 "$file") == '%PDF-' ]] ;;
    *.svg) grep -q '<svg' "$file" ;;
    *.csv) grep -q '^# ' "$file" && grep -qx 'sample' "$file" ;;
    *) return 0 ;;
  esac
}

failed=0
missing=0
number=0
for recipe in "${recipes[@]}"; do
  number=$((number + 1))
  command=$recipe
  note=
  # A comment after two or more blanks ends the line.
  if [[ $recipe =~ ^(.*[^[:space:]])[[:space:]]{2,}#[[:space:]]*(.*)$ ]]; then
    command=${BASH_REMATCH[1]}
    note=${BASH_REMATCH[2]}
  fi

  if [[ $command == python3\ * && ! -e $work/bin/python3 && $command == *numpy* ]]; then
    echo "SKIP ($number): needs python3 with numpy (python3-numpy): $recipe"
    missing=1
    continue
  fi

  written=()
  if [[ $command == cauchy\ * ]]; then
    read -ra words <<<"$command"
    for ((i = 1; i < ${#words[@]}; ++i)); do
      case "${words[i]}" in
        --snapshot | --export) written+=("${words[i + 1]:-}") ;;
        --snapshot=* | --export=*) written+=("${words[i]#*=}") ;;
      esac
    done
    if [[ ${#written[@]} -eq 0 && $command != *--help* && $command != *--version* ]]; then
      written+=("window-$number.png")
      command+=" --snapshot window-$number.png"
    fi
    [[ $command == *--seed* ]] || command+=" --seed 2026"
  fi

  (cd "$work/out" && bash -c "$command") >"$work/stdout" 2>"$work/stderr"
  status=$?
  problem=
  if [[ $status -ne 0 ]]; then
    problem="exit status $status"
  else
    for file in "${written[@]}"; do
      content_ok "$work/out/$file" || problem+="${problem:+; }$file missing or not a ${file##*.} file"
    done
    if [[ $note == prints\ * && $(<"$work/stdout") != "${note#prints }" ]]; then
      problem+="${problem:+; }printed \"$(head -c 200 "$work/stdout")\", not \"${note#prints }\""
    fi
  fi
  if [[ -n $problem ]]; then
    echo "FAIL ($number): $recipe"
    echo "  ran: $command"
    echo "  $problem"
    sed 's/^/  stderr: /' "$work/stderr" | head -20
    failed=1
  else
    echo "ok   ($number): $recipe"
  fi
done

if ((failed)); then
  exit 1
fi
if ((missing)); then
  exit 77
fi
exit 0
