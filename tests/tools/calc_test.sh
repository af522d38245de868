#!/usr/bin/env bash
# hostcode-calc end to end: the worked examples through --lines, whole-input
# mode, the separator, --explain, the error cases with their exit status, and
# the examples the README shows. Usage: calc_test.sh path/to/hostcode-calc README.md
set -u
calc=$1
readme=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/checks.sh"

repeat() { head -c "$2" /dev/zero | tr '\0' "$1"; }  # COUNT copies of CHAR
# LENGTH copies of FILLER with OTHER at 1-based POSITION.
filled() { printf '%s%s%s' "$(repeat "$2" $(($3 - 1)))" "$4" "$(repeat "$2" $(($1 - $3)))"; }

# The published worked examples, one identity a line (the empty one included).
{
  printf 'xxx\n\nA\nabc\nhello world\ndog time\n\005\n\377\n'
  filled 76 x 56 z; printf '\n'
  filled 248 r 229 A; printf '\n'
  filled 764 x 325 z; printf '\n'
} > "$work/examples"
expected='197-4903-750
--
018-5370-027
162-9830-315
918-2945-957
--
009-9814-629
045-6295-451
158-4200-77
597-1766-719
919-2927-421'
check "worked examples" "$expected" "$("$calc" --lines < "$work/examples")"
check "worked examples, comma" "$(printf -- '--\n%.0s' {1..11})" \
  "$("$calc" --lines --separator=, < "$work/examples")"

# Whole input: raw bytes, nothing stripped.
check "whole input" "197-4903-750" "$(printf 'xxx' | "$calc")"
expect_true "whole input keeps a last LF" [ "$(printf 'xxx\n' | "$calc")" != "197-4903-750" ]
check "empty input" "--" "$("$calc" < /dev/null)"
check "lines: empty input has no lines" "" "$("$calc" --lines < /dev/null)"

# Lines: the LF is not part of the identity, a CR before it is; a last line
# without LF counts.
check "lines: CR kept" "$(printf 'xxx\r' | "$calc")" "$(printf 'xxx\r\n' | "$calc" --lines)"
check "lines: last line without LF" "$(printf '197-4903-750\n162-9830-315')" \
  "$(printf 'xxx\nabc' | "$calc" --lines)"
check "lines: output bytes" "$(printf '197-4903-750\n' | hex)" "$(printf 'xxx\n' | "$calc" --lines | hex)"

# A line longer than the read block.
filled 200000 q 7 Q > "$work/long"
check "lines: long line" "$("$calc" < "$work/long")" "$("$calc" --lines < "$work/long")"

# --explain: why a code is "--", why a group is short.
explained=$(printf 'dog time' | "$calc" --explain)
check "explain dog time" "identity length: 8 bytes
weighted sum: 7013
rendered quotient: 1
fraction: 
host code: --
why: the quotient is a whole number, so there is no fraction and the code is the bare hyphens" "$explained"
explained=$(filled 76 x 56 z | "$calc" --explain)
check "explain short group" "identity length: 76 bytes
weighted sum: 702411
rendered quotient: 100.158420077
fraction: 158420077
host code: 158-4200-77
why: the fraction has only 9 digits (15 significant digits, trailing zeros dropped), so the groups shrink from the right" "$explained"
check "explain comma" "why: the separator is not \".\", so the rendered quotient has no \".\" and the code is the bare hyphens" \
  "$(printf 'xxx' | "$calc" --explain --separator=, | sed -n 6p)"

# Errors: one line on stderr naming the problem, status 2, nothing on stdout.
for args in "--bogus" "--separator=ab" "--separator=" "-x"; do
  printf 'xxx' | "$calc" $args > "$work/out" 2> "$work/err"
  check "error $args: status" 2 $?
  check "error $args: stdout" "" "$(cat "$work/out")"
  check "error $args: one line" 1 "$(wc -l < "$work/err")"
done
expect_true "error message names the option" grep -q "unknown option '--bogus'" <("$calc" --bogus 2>&1 < /dev/null)
"$calc" <&- > "$work/out" 2> "$work/err"
check "closed stdin: status" 2 $?
check "closed stdin: message" "hostcode-calc: cannot read standard input" "$(cat "$work/err")"
check "closed stdin: stdout" "" "$(cat "$work/out")"
"$calc" --help > "$work/out"
check "help: status" 0 $?
expect_true "help names the separator" grep -q -- '--separator=C' "$work/out"
expect_true "help says every code is --" grep -q 'every code' "$work/out"

# The README's examples: each "$ command" line in the block after the marker
# is run with hostcode-calc, and its output must be the lines below it.
awk '/<!-- calc examples, checked by a test -->/ {on = 1; next}
     on && /^```$/ {if (started) exit; started = 1; next}
     on && started {print}' "$readme" > "$work/readme"
expect_true "README examples found" [ -s "$work/readme" ]
command=""
shown=""
run_example() {
  [ -n "$command" ] || return 0
  local actual
  actual=$(PATH="$(dirname "$calc"):$PATH" bash -c "${command#\$ }" 2>&1)
  check "README: $command" "$shown" "$actual"
}
while IFS= read -r line; do
  if [[ "$line" == '$ '* ]]; then
    run_example
    command=$line
    shown=""
  else
    shown+="${shown:+$'\n'}$line"
  fi
done < "$work/readme"
run_example

finish
