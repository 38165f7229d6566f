#!/usr/bin/env bash
# Runs the end-to-end table (rows.sh) against the real kestro binary.
#
# Each row makes a small fixture in a fresh directory, runs the program there
# and checks its exit status, standard output and standard error exactly.
#
# Environment:
#   KESTRO           the program to run (required)
#   KESTRO_RUNNER    a command to run it through, such as wine
#   KESTRO_PLATFORM  posix (default) or windows: chooses which rows apply
#   KESTRO_CRLF      1 when the program ends its lines with CR LF
#   KESTRO_ROWS      only the rows whose name holds this text
set -u

KESTRO=${KESTRO:?set KESTRO to the program to test}
RUNNER=${KESTRO_RUNNER:-}
PLATFORM=${KESTRO_PLATFORM:-posix}
CRLF=${KESTRO_CRLF:-0}
FILTER=${KESTRO_ROWS:-}
TIMEOUT=${KESTRO_TIMEOUT:-60}

ROOT=$(mktemp -d "${TMPDIR:-/tmp}/kestro-e2e.XXXXXX")
trap 'rm -rf "$ROOT"' EXIT

passed=0
failed=0
skipped=0
rows=0
skip_reason=""
stdout_target=""
stdout_command=""

# ----- Fixture helpers (run inside the row's directory) ----------------------

# mk PATH [CONTENT]: a file holding CONTENT exactly, with its directories.
mk() {
  mkdir -p "$(dirname "$1")"
  printf '%s' "${2-}" >"$1"
}

# stamp DATE PATH...: sets the last-write time.
stamp() {
  local date=$1
  shift
  touch -d "$date" "$@"
}

# bytes PATH COUNT [CHAR]: a file of COUNT copies of CHAR (default x).
bytes() {
  mkdir -p "$(dirname "$1")"
  head -c "$2" /dev/zero | tr '\0' "${3-x}" >"$1"
}

# ----- Row modifiers (apply to the next row only) ----------------------------

# posix_only REASON: the row rests on behaviour that only the POSIX build has.
posix_only() { [ "$PLATFORM" = posix ] || skip_reason="POSIX only: $1"; }

# windows_only REASON: the row rests on behaviour that only Windows has.
windows_only() { [ "$PLATFORM" = windows ] || skip_reason="Windows only: $1"; }

# stdout_to FILE: the row's standard output goes to FILE, not to a capture;
# its expected standard output is then ignored.
stdout_to() { stdout_target=$1; }

# stdout_pipe COMMAND: the row's standard output goes through a pipe into
# COMMAND, whose output is what the row checks. SIGPIPE is in its default
# state for the program, as in an ordinary shell.
stdout_pipe() { stdout_command=$1; }

# ----- Rows ----------------------------------------------------------------

# Line ends as the program under test writes them.
line_ends() {
  if [ "$CRLF" = 1 ]; then printf '%s' "${1//$'\n'/$'\r\n'}"; else printf '%s' "$1"; fi
}

# The lines in which a stream differs from what was wanted, control
# characters shown (\r as \r, a missing last line end as a lone $).
show_difference() {
  diff <(sed -n 'l' "$2") <(sed -n 'l' "$1") | head -20 | sed 's/^/      /'
}

# row NAME FIXTURE STATUS STDOUT STDERR -- ARGS...
row() {
  local name=$1 fixture=$2 status=$3 out=$4 err=$5
  shift 5
  [ "${1-}" = -- ] && shift
  local reason=$skip_reason target=$stdout_target command=$stdout_command
  skip_reason=""
  stdout_target=""
  stdout_command=""
  [ -n "$FILTER" ] && [[ $name != *"$FILTER"* ]] && return
  rows=$((rows + 1))
  if [ -n "$reason" ]; then
    skipped=$((skipped + 1))
    echo "skip  $name ($reason)"
    return
  fi

  local dir=$ROOT/$rows/run results=$ROOT/$rows
  mkdir -p "$dir"
  # @DIR@ in the arguments is the row's directory as an absolute drive path,
  # @dir@ in the expected streams the same in lower case.
  local drive_path="z:${dir//\//\\}"
  set -- "${@//@DIR@/$drive_path}"
  out=${out//@dir@/${drive_path,,}}
  err=${err//@dir@/${drive_path,,}}
  if ! (cd "$dir" && eval "$fixture") >"$results/fixture.log" 2>&1; then
    failed=$((failed + 1))
    echo "FAIL  $name: fixture failed"
    sed 's/^/      /' "$results/fixture.log"
    return
  fi
  [ -n "$target" ] || target=$results/stdout
  local got
  if [ -n "$command" ]; then
    (cd "$dir" && timeout "$TIMEOUT" env --default-signal=PIPE $RUNNER "$KESTRO" "$@" \
      2>"$results/stderr" </dev/null | $command >"$target"; exit "${PIPESTATUS[0]}")
    got=$?
  else
    (cd "$dir" && exec timeout "$TIMEOUT" $RUNNER "$KESTRO" "$@" >"$target" 2>"$results/stderr" </dev/null)
    got=$?
  fi
  line_ends "$out" >"$results/want-stdout"
  line_ends "$err" >"$results/want-stderr"

  local problems=""
  [ "$got" = "$status" ] || problems="status $got, want $status"
  if [ "$target" = "$results/stdout" ] && ! cmp -s "$results/stdout" "$results/want-stdout"; then
    problems="$problems${problems:+; }stdout differs"
  fi
  cmp -s "$results/stderr" "$results/want-stderr" || problems="$problems${problems:+; }stderr differs"
  if [ -z "$problems" ]; then
    passed=$((passed + 1))
    return
  fi
  failed=$((failed + 1))
  echo "FAIL  $name: $problems"
  echo "    args: $*"
  for stream in stdout stderr; do
    [ -f "$results/$stream" ] || continue
    cmp -s "$results/$stream" "$results/want-$stream" && continue
    echo "    $stream (< want, > got):"
    show_difference "$results/$stream" "$results/want-$stream"
  done
}

HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=rows.sh
. "$HERE/rows.sh"

echo "e2e ($PLATFORM): $passed passed, $failed failed, $skipped skipped"
[ "$failed" = 0 ]
