#!/usr/bin/env bash
# The native program end to end: what reaches standard output, standard error
# and the exit status when standard output is a file, closed, a full device or
# a pipe whose reader has gone. Usage: native_program_test.sh path/to/hostcode
set -u
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../support/checks.sh"

# There is no registry here, so the identity is the fallback "xxx".
fallback_line=$(printf '197-4903-750\r\n' | hex)

# Standard output a file: exactly the code and CR LF.
LC_ALL=C "$program" > "$work/out" 2> "$work/err"
check "file: status" 0 $?
check "file: bytes" "$fallback_line" "$(hex < "$work/out")"
check "file: stderr" "" "$(hex < "$work/err")"

# A decimal separator other than "." gives the bare hyphens.
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  LC_ALL=de_DE.UTF-8 "$program" > "$work/out"
  check "comma: bytes" "$(printf -- '--\r\n' | hex)" "$(hex < "$work/out")"
fi

# Descriptor 1 closed: the last-resort report on stderr, status 1.
LC_ALL=C "$program" >&- 2> "$work/err"
check "closed: status" 1 $?
report=$(cat "$work/err")
expected_report_pattern=$'^Exception EInOutError in module hostcode at [0-9A-F]{8}\\.\r\nI/O error 105\\.\r\n\r$'
form=other
[[ "$report" =~ $expected_report_pattern ]] && form=report
check "closed: the report's form, $(printf %q "$report")" report "$form"
check "closed: report ends in an empty line" "0d0a0d0a" "$(hex < "$work/err" | tail -c 8)"

# A full device: the bytes are written when the process ends; nothing reported.
if [ -w /dev/full ]; then
  LC_ALL=C "$program" > /dev/full 2> "$work/err"
  check "full: status" 0 $?
  check "full: stderr" "" "$(hex < "$work/err")"
fi

# A pipe whose reader has gone: no signal ends the process, nothing reported.
# The reader ends at once; the program writes only after it is gone.
{ sleep 0.3; LC_ALL=C "$program" 2> "$work/err"; echo $? > "$work/status"; } | true
check "pipe: status" 0 "$(cat "$work/status")"
check "pipe: stderr" "" "$(hex < "$work/err")"

finish
