# Sourced by the Wine scripts: `wine_env KIND PREFIX` sets `loader` to Wine's
# loader for win32 or win64 programs and exports the prefix settings. Returns
# 77 (a skip for CTest) when this machine cannot run that loader, 2 for an
# unknown kind.
wine_env() {
  export WINEDEBUG=-all
  WINEPREFIX=$(realpath -m "$2")  # Wine wants an absolute path
  export WINEPREFIX
  case "$1" in
    win32) loader=/usr/lib/wine/wine; export WINEARCH=win32 ;;
    win64) loader=/usr/lib/wine/wine64; export WINEARCH=win64 ;;
    *) echo "unknown kind $1" >&2; return 2 ;;
  esac
  if ! "$loader" --version > /dev/null 2>&1; then
    echo "skipped: $loader cannot run on this machine (a 32-bit loader needs a kernel that runs 32-bit programs)" >&2
    return 77
  fi
}
