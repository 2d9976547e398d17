#!/usr/bin/env bash
# Checks vorlane-calc from outside: values, errors, options and stdin mode.
# $1 is the directory that holds the built tools; VORLANE_TOOL_RUNNER, when
# set, runs them (wine for the Windows build).
set -u
calc="$1/vorlane-calc"
[ -e "$calc" ] || calc+=.exe  # the Windows build
failures=0

# expect EXIT-CODE EXPECTED-OUTPUT ARGS...: with $input (if set) on standard input.
expect() {
  local code=$1 want=$2 got status; shift 2
  got=$(printf '%s' "${input-}" | ${VORLANE_TOOL_RUNNER:-} "$calc" "$@" 2>/dev/null)
  status=$?
  [ "$status" -eq "$code" ] && [ "$got" = "$want" ] && return
  printf 'FAIL: vorlane-calc %s\n  want (%s): %s\n  got  (%s): %s\n' "$*" "$code" "$want" "$status" "$got"
  failures=$((failures + 1))
}

expect 0 6 '2*clip(5,0,3)'
expect 0 14 '2+3*4'
expect 0 0.1 '0.1'
expect 0 0.10000000000000001 --precise '0.1'
expect 0 1E+16 '1E16'
expect 0 23 2 3                       # words after the options form one expression
expect 1 "error: Evaluation error < 1 / 0 > at pos: 2" '1/0'
expect 1 "error: Function < foo > unknown at pos: 1" 'foo(1)'
expect 1 "error: missing argument" ''

# "--" ends the options, so an expression may start with a minus sign.
expect 0 -1 -- '-3+2'
expect 2 "" '-3+2'
expect 0 -5 --precise -- -5

# Variables and angle units.
expect 0 7 --var x=3 --var y=4 'x+y'
expect 0 7 --var=x=3 --var y=4 'x+y'
expect 0 0.5 --var X=2 '1/x'          # names look up without regard to case
expect 0 3 --var unused=1 '3'
expect 2 "" --var x 'x'
expect 2 "" --var x=abc 'x'
expect 0 1 --angle DEG 'sin(90)'
expect 0 1 --angle grad 'sin(100)'
expect 0 0 --angle RAD 'sin(0)'
expect 2 "" --angle TURNS 'sin(1)'
expect 2 "" --angle
expect 2 "" --bogus '1'

# Standard input: one line of output per line of input, exit 0; malformed
# input of any kind still gets its line.
input=$'1+1\n1/0\n\n2x\r\n(\n'
expect 0 $'2\nerror: Evaluation error < 1 / 0 > at pos: 2\nerror: missing argument\n10\nerror: Not enough closing brackets' \
  --var x=5
input=$'\xff\xfe\n'$(head -c 100000 /dev/zero | tr '\0' '(')$'\n|||\n'
expect 0 $'error: Syntax error at pos: 1\nerror: Brackets nested too deeply at pos: 10001\nerror: abs symbols |.| mismatch'

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "vorlane-calc: all checks passed"
