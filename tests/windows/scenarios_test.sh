#!/usr/bin/env bash
# The Windows program end to end under Wine: for each scenario, stage its
# registry values and settings in a Wine prefix, run the program, and compare
# standard output (the code of the scenario's identity and CR LF), standard
# error and the exit status.
#
# Usage: scenarios_test.sh win32|win64 PREFIX PROGRAM VERIFY SCENARIO...
#   VERIFY is the native hostcode-verify: "VERIFY reference-code" prints the
#   code of the identity on its standard input, computed by the
#   extended-precision reference, not by the program.
#
# The values are staged in the 32-bit registry view, which both programs read;
# in a 64-bit prefix the 64-bit view holds other values, which must not show.
set -u
kind=$1
prefix_argument=$2
program=$3
reference=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
runner="$here/../../cmake/wine-run.sh"
export LC_ALL=C.UTF-8  # Wine's ANSI code page 1252, so bytes above 0x7F stay as staged
source "$here/../../cmake/wine-env.sh"
wine_env "$kind" "$prefix_argument" || exit
prefix=$WINEPREFIX
work=$(mktemp -d)
source "$here/../support/checks.sh"

# Makes the prefix if it is new.
bash "$runner" "$kind" "$prefix" cmd /c exit > /dev/null 2>&1

# HKLM\HARDWARE lives only as long as the prefix's server: keep one running.
wineserver -p > /dev/null 2>&1 < /dev/null
trap 'wineserver -k > /dev/null 2>&1; rm -rf "$work"' EXIT

wine_quiet() { "$loader" "$@" > "$work/wine.log" 2>&1 < /dev/null; }
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }  # Wine's Z: is the Unix root

nt='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion'
k9x='HKLM\Software\Microsoft\Windows\CurrentVersion'
bios='HKLM\HARDWARE\DESCRIPTION\System'


for scenario in "$@"; do
  name=$(basename "$scenario" .scenario)
  version=$(sed -n 's/^version //p' "$scenario")
  separator=$(sed -n 's/^separator //p' "$scenario")
  identity=$(sed -n 's/^identity //p' "$scenario")

  # A clean registry: no ProductId in either view, no BIOS strings.
  for view in /reg:32 /reg:64; do
    [ "$kind" = win32 ] && [ "$view" = /reg:64 ] && continue
    for key in "$nt" "$k9x"; do wine_quiet reg delete "$key" /v ProductId /f $view; done
  done
  wine_quiet reg delete "$bios" /v SystemBiosVersion /f
  wine_quiet reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$version" /f
  wine_quiet reg add 'HKCU\Control Panel\International' /v sDecimal /t REG_SZ /d "${separator:-.}" /f

  { echo REGEDIT4; echo; sed -n 's/^reg //p' "$scenario"; } > "$work/stage.reg"
  wine_quiet reg import "$(windows_path "$work/stage.reg")" /reg:32
  if [ "$kind" = win64 ]; then
    if [ "$version" = win98 ]; then
      # Under a 9x version Wine ignores the view flags; a real 9x has one view.
      wine_quiet reg import "$(windows_path "$work/stage.reg")" /reg:64
    else
      printf 'REGEDIT4\n\n[%s]\n"ProductId"="64-BIT-VIEW"\n' \
        'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion' > "$work/decoy.reg"
      wine_quiet reg import "$(windows_path "$work/decoy.reg")" /reg:64
    fi
  fi

  code=$(printf '%b' "$identity" | "$reference" reference-code)
  # With any separator but "." no rendering holds a "." and every code is "--".
  [ "${separator:-.}" = "." ] || code=--
  expected_out=$(printf '%s\r\n' "$code" | hex)
  # The server and the services already run, so the program starts no
  # background process that could hold a pipe open.
  timeout 60 "$loader" "$program" > "$work/out" 2> "$work/err" < /dev/null
  status=$?
  check "$name: exit status" 0 "$status"
  check "$name: standard output to a file" "$expected_out" "$(hex < "$work/out")"
  check "$name: standard error" "" "$(cat "$work/err")"
  piped=$(timeout 60 "$loader" "$program" 2> /dev/null < /dev/null | hex)
  check "$name: standard output to a pipe" "$expected_out" "$piped"
done

finish
