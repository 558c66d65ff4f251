#!/usr/bin/env bash
# Builds vyk.exe and vykedit.exe for 64-bit Windows on Debian and packs them: a .zip and an NSIS
# installer in build/windows/. The first run also builds Qt for Windows (build-qt.sh, cached).
# Usage: packaging/windows/build.sh [--no-tests]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
cd "$repo"
run_tests=1
[ "${1:-}" = "--no-tests" ] && run_tests=0

tools/install-deps.sh --windows
VYK_QT_WINDOWS=$(packaging/windows/build-qt.sh | tail -n 1)
export VYK_QT_WINDOWS
cmake --preset windows
cmake --build --preset windows
if [ $run_tests -eq 1 ]; then
  # A new Wine prefix takes a while to set up: not inside the first test's time limit.
  packaging/windows/wine-run.sh wineboot --init >/dev/null 2>&1
  ctest --preset windows
fi

version=$(sed -n 's/^set(VYK_VERSION_TEXT "\(.*\)")$/\1/p' CMakeLists.txt)
build=build/windows
stage=$build/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$build/vyk.exe" "$build/vykedit.exe" "$stage/"
# The plugins the window needs: the Windows platform and its style.
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
  mkdir -p "$stage/$(dirname "$plugin")"
  cp "$VYK_QT_WINDOWS/plugins/$plugin" "$stage/$plugin"
done

# Every DLL the programs and plugins import, found by reading their import tables, again for
# each DLL added, until nothing new comes; the system's own DLLs are not found here and stay.
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
search=("$VYK_QT_WINDOWS/bin" "$runtime" /usr/x86_64-w64-mingw32/lib)
pending=("$stage"/*.exe "$stage"/*/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$stage/$dll" ] && continue
    for folder in "${search[@]}"; do
      if [ -e "$folder/$dll" ]; then
        cp "$folder/$dll" "$stage/$dll"
        pending+=("$stage/$dll")
        break
      fi
    done
  done
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

name=vyk-edit-$version-windows-x64
rm -f "$build/$name.zip"
(cd "$stage" && zip -q -r "$repo/$build/$name.zip" .)
makensis -V2 -DVERSION="$version" -DSTAGE="$repo/$stage" -DOUTFILE="$repo/$build/$name-setup.exe" \
  packaging/windows/installer.nsi
echo "$(du -sh "$stage" | cut -f1) installed; $build/$name.zip ($(du -h "$build/$name.zip" | cut -f1)), $build/$name-setup.exe ($(du -h "$build/$name-setup.exe" | cut -f1))"
