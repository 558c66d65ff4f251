#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, finding the mingw-w64 runtime and Qt DLLs where
# the build machine keeps them: the emulator of the Windows test build.
# Usage: packaging/windows/wine-run.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
wine=${VYK_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or HTML engine is needed: a new prefix does not offer to download them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/vyk-edit/wine}
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
paths=("$runtime" /usr/x86_64-w64-mingw32/lib)
[ -n "${VYK_QT_WINDOWS:-}" ] && paths+=("$VYK_QT_WINDOWS/bin")
# Wine takes Windows paths: Z: is the root of the build machine.
winepath=
for p in "${paths[@]}"; do
  winepath+="Z:${p//\//\\};"
done
export WINEPATH="$winepath${WINEPATH:-}"
exec "$wine" "$@"
