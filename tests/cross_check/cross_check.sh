#!/usr/bin/env bash
# The same codes on every CPU and build: one fixed, seeded input of
# identities goes through `hostcode-calc --lines` on x86-64 Linux, on AArch64
# Linux under qemu, and through both Windows builds under Wine; the outputs
# must be byte-identical. A build this machine cannot run is reported and
# left out. Usage: cross_check.sh BUILD_ROOT  (the folder holding native/,
# aarch64/, win32/, win64/)
set -u
export LC_ALL=C
root=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The input: the worked examples, thousands of seeded random identities
# (bytes 1 to 255 but LF, so CR and bytes above 0x7F among them), and a few
# long ones past the length where partial sums exceed 2^53 (5,943,260 bytes)
# and where products wrap (8,421,504 bytes). Park-Miller numbers stay exact in
# any awk's doubles.
awk -v seed=20261211 '
  function next_random() { state = (state * 16807) % 2147483647; return state }
  function random_byte(   b) { do b = next_random() % 256; while (b == 0 || b == 10); return b }
  function random_text(length_,   s, i) { s = ""; for (i = 0; i < length_; i++) s = s sprintf("%c", random_byte()); return s }
  function long_text(length_,   block, s) {
    block = random_text(997); s = block
    while (length(s) < length_) s = s s
    return substr(s, 1, length_)
  }
  BEGIN {
    state = seed
    print "xxx"; print ""; print "A"; print "abc"; print "hello world"; print "dog time"
    printf "%c\n", 5; printf "%c\n", 255
    for (n = 0; n < 3000; n++) print random_text(next_random() % 300)
    print long_text(5943261); print long_text(8421505); print long_text(9000000)
  }' > "$work/identities"

passed=0
failures=0
reference=""
for build in native aarch64 win64 win32; do
  case "$build" in
    native) run=("$root/native/hostcode-calc") ;;
    aarch64) run=(qemu-aarch64 "$root/aarch64/hostcode-calc") ;;
    win64 | win32)
      run=(bash "$here/../../cmake/wine-run.sh" "$build" "$root/$build/wineprefix" "$root/$build/hostcode-calc.exe") ;;
  esac
  "${run[@]}" --lines < "$work/identities" > "$work/$build.out" 2> "$work/$build.err"
  status=$?
  if [ "$status" -eq 77 ]; then
    echo "skipped $build: $(cat "$work/$build.err")"
    continue
  fi
  if [ "$status" -ne 0 ]; then
    echo "FAIL $build: exit status $status: $(head -c 500 "$work/$build.err")"
    failures=$((failures + 1))
    continue
  fi
  lines=$(wc -l < "$work/$build.out")
  if [ -z "$reference" ]; then
    reference=$build
    echo "$build: $lines codes"
    passed=$((passed + 1))
  elif cmp -s "$work/$reference.out" "$work/$build.out"; then
    echo "$build: $lines codes, identical to $reference"
    passed=$((passed + 1))
  else
    line=$(cmp "$work/$reference.out" "$work/$build.out" | sed -n 's/.* line \([0-9]*\).*/\1/p')
    echo "FAIL $build differs from $reference first at line ${line:-?}:"
    echo "  $reference: $(sed -n "${line:-1}p" "$work/$reference.out")"
    echo "  $build: $(sed -n "${line:-1}p" "$work/$build.out")"
    failures=$((failures + 1))
  fi
done

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ] && [ "$passed" -ge 2 ]
