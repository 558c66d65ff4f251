#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows on Debian (qtbase, qtserialport, qtcharts; shared,
# release) with mingw-w64, into a cache folder named by the version and the options, so that a
# second run costs nothing. Prints the Qt prefix on its last line.
#
# Usage: packaging/windows/build-qt.sh [--sources DIR] [--cache DIR] [--jobs N]
#   --sources DIR  the three source tarballs and their SHA256SUMS (default: $VYK_QT_SOURCES,
#                  else ../shared/third_party/qt-6.4.2 beside the checkout, else Qt's archive)
#   --cache DIR    where built Qts are kept (default: $VYK_QT_CACHE, else
#                  ${XDG_CACHE_HOME:-~/.cache}/vyk-edit/qt-windows)
# The host's Qt (Debian's qt6-base-dev-tools, the same version) gives moc, uic and rcc.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

version=6.4.2
sources=${VYK_QT_SOURCES:-}
cache=${VYK_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vyk-edit/qt-windows}
jobs=$(nproc)
while [ $# -gt 0 ]; do
  case $1 in
    --sources) sources=$2; shift 2 ;;
    --cache) cache=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) echo "build-qt.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

toolchain=$here/mingw-w64.cmake
# What the program needs and nothing more: no network, SQL, printing, OpenGL or ICU.
qtbase_options=(
  -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
  -qt-host-path /usr -release -shared -nomake examples -nomake tests
  -no-dbus -no-icu -no-opengl -no-feature-vulkan -no-fontconfig -no-feature-sql
  -no-feature-network -no-feature-printsupport -no-feature-testlib
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
)
qtbase_cmake=(
  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix
  -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix
  -DCMAKE_SYSTEM_NAME=Windows
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
  # Debian's tarball leaves out the tablet header.
  -DFEATURE_tabletevent=OFF
)
key=$(printf '%s\n' "$version" "${qtbase_options[@]}" "${qtbase_cmake[@]}" "$(cat "$toolchain")" \
  "$(x86_64-w64-mingw32-g++-posix -dumpversion 2>/dev/null || true)" | sha256sum | cut -c1-12)
prefix=$cache/qt-$version-mingw-$key
if [ -f "$prefix/.complete" ]; then
  echo "Qt $version for Windows is already built" >&2
  echo "$prefix"
  exit 0
fi

for tool in x86_64-w64-mingw32-g++-posix cmake ninja /usr/lib/qt6/libexec/moc; do
  if ! command -v "$tool" >/dev/null; then
    echo "build-qt.sh: $tool is missing (tools/install-deps.sh --windows installs it)" >&2
    exit 1
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/vyk-qt-build.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The tarballs: a folder of them with SHA256SUMS, or Qt's archive checked against its md5sums.
if [ -z "$sources" ] && [ -d "$repo/../shared/third_party/qt-$version" ]; then
  sources=$repo/../shared/third_party/qt-$version
fi
declare -A tarball
if [ -n "$sources" ]; then
  (cd "$sources" && sha256sum --check --strict SHA256SUMS) >&2
  for module in qtbase qtserialport qtcharts; do
    tarball[$module]=$(ls "$sources"/$module-everywhere-src-$version*.tar.xz | head -1)
  done
else
  url=https://download.qt.io/archive/qt/${version%.*}/$version/submodules
  curl -fsSL -o "$work/md5sums.txt" "$url/md5sums.txt"
  for module in qtbase qtserialport qtcharts; do
    name=$module-everywhere-src-$version.tar.xz
    curl -fSL -o "$work/$name" "$url/$name"
    (cd "$work" && grep " $name\$" md5sums.txt | md5sum --check --strict) >&2
    tarball[$module]=$work/$name
  done
fi

started=$(date +%s)
mkdir -p "$cache"
rm -rf "$prefix"
for module in qtbase qtserialport qtcharts; do
  mkdir -p "$work/src/$module" "$work/build/$module"
  tar -xJf "${tarball[$module]}" -C "$work/src/$module" --strip-components=1
done

cd "$work/build/qtbase"
"$work/src/qtbase/configure" -prefix "$prefix" "${qtbase_options[@]}" -- "${qtbase_cmake[@]}" >&2
cmake --build . --parallel "$jobs" >&2
cmake --install . >&2

for module in qtserialport qtcharts; do
  cd "$work/build/$module"
  "$prefix/bin/qt-configure-module" "$work/src/$module" \
    -- -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" >&2
  cmake --build . --parallel "$jobs" >&2
  cmake --install . >&2
done

touch "$prefix/.complete"
echo "Qt $version for Windows built in $(( ($(date +%s) - started) / 60 )) minutes" >&2
echo "$prefix"
