#!/usr/bin/env bash
# Runs a Windows program under Wine, in a prefix kept in the build folder and
# made on first use. Usage: wine-run.sh win32|win64 PREFIX_DIR PROGRAM [ARGS...]
# Standard output, standard error and the exit status are the program's. Exit
# status 77 (a skip for CTest) when this machine cannot run the program's kind.
set -u
source "$(dirname "$0")/wine-env.sh"
wine_env "$1" "$2" || exit
prefix=$WINEPREFIX
shift 2

# Wine's background processes inherit the standard streams of the program
# that starts them and keep them open; so the prefix's server and services
# are started here with their streams on files, and the program's own output
# goes through files too.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  "$loader" wineboot -i > "$prefix/wineboot.log" 2>&1 < /dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$loader" "$@" > "$work/out" 2> "$work/err"
status=$?
cat "$work/out"
cat "$work/err" >&2
exit $status
