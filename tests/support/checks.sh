# Helpers of the end-to-end test scripts, sourced by them: counted checks and
# the closing "N passed, N failed" line.
passed=0
failures=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    printf 'FAIL %s:\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

expect_true() {  # expect_true NAME COMMAND...: passes when the command succeeds
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}

hex() { od -An -tx1 -v | tr -d ' \n'; }  # standard input as hexadecimal bytes

finish() {  # the closing line; the script's exit status
  echo "$passed passed, $failures failed"
  [ "$failures" -eq 0 ]
}
