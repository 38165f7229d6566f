#!/usr/bin/env bash
# Runs the examples of README.md in a scratch copy of the example folder and
# checks that each prints exactly what the README shows.
#
# An example is an indented block whose lines begin with "$ " (a POSIX shell
# command) or "C:\example> " (a line of a Windows batch file); the lines up
# to the next command are what the command prints. POSIX blocks run on the
# POSIX build, batch blocks on the Windows build (under KESTRO_RUNNER, with
# KESTRO_PLATFORM=windows).
set -u
KESTRO=${KESTRO:?set KESTRO to the program to test}
PLATFORM=${KESTRO_PLATFORM:-posix}
TOP=$(cd "$(dirname "$0")/.." && pwd)
ROOT=$(mktemp -d "${TMPDIR:-/tmp}/kestro-readme.XXXXXX")
trap 'rm -rf "$ROOT"' EXIT
passed=0
failed=0

# Every example block, one after another, as "block N" separated lines.
blocks() {
  awk '
    /^    / { line = substr($0, 5)
              if (!inblock && (line ~ /^\$ / || line ~ /^C:\\example> /)) { inblock = 1; n++; print "@@block " n }
              if (inblock) print line; next }
    { inblock = 0 }' "$TOP/README.md"
}

# check NAME WANT GOT
check() {
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL  README $1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed 's/^/      /'
  fi
}

run_posix_block() {
  local n=$1 text=$2 dir=$ROOT/$1 script="" line want got
  cp -r "$TOP/example" "$dir"
  mkdir -p "$ROOT/bin"
  ln -sf "$KESTRO" "$ROOT/bin/kestro"
  # Each command in turn in one shell, its output followed by a marker; the
  # marker keeps the command's status for the next one ($?).
  while IFS= read -r line; do
    [[ $line == '$ '* ]] && script+="${line#\$ } 2>&1"$'\n''__s=$?; echo "@@end"; (exit $__s)'$'\n'
  done <<<"$text"
  want=$(awk '/^\$ / { if (n++) print "@@end"; next } { print } END { print "@@end" }' <<<"$text")
  got=$(cd "$dir" && PATH="$ROOT/bin:$PATH" bash -c "$script")
  check "example $n" "$want" "$got"
}

run_batch_block() {
  local n=$1 text=$2 dir=$ROOT/$1
  cp -r "$TOP/example" "$dir"
  cp "$KESTRO" "$dir/"
  { echo "@echo off"; sed -n 's/^C:\\example> //p' <<<"$text"; } | sed 's/$/\r/' >"$dir/example.bat"
  local want got
  want=$(grep -v '^C:\\example> ' <<<"$text")
  got=$(cd "$dir" && ${KESTRO_RUNNER:-} cmd /c example.bat 2>&1 | tr -d '\r')
  check "batch example $n" "$want" "$got"
}

current="" number=0
flush() {
  [ -n "$current" ] || return 0
  if [[ $current == '$ '* ]]; then
    [ "$PLATFORM" = posix ] && run_posix_block "$number" "$current"
  else
    [ "$PLATFORM" = windows ] && run_batch_block "$number" "$current"
  fi
  current=""
}
while IFS= read -r line; do
  if [[ $line == '@@block '* ]]; then
    flush
    number=${line#@@block }
  else
    current+=${current:+$'\n'}$line
  fi
done < <(blocks)
flush

echo "readme ($PLATFORM): $passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$passed" -gt 0 ]
