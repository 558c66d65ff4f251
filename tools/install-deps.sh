#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing; with --windows also what
# the Windows build and its checks need (mingw-w64, NSIS, Wine, Xvfb).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev libgl-dev fonts-dejavu-core
  clang-format locales
  poppler-utils
  clang libclang-rt-dev
  dpkg-dev file help2man desktop-file-utils appstream shared-mime-info
)

if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix nsis wine64 fonts-wine xz-utils zip curl ca-certificates xvfb xauth
    xdotool imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# Runs a command as root: directly, or through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "Run as root or install sudo to run: $*" >&2
    return 1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Number texts are tested under a locale whose decimal point is ","; those tests skip without it.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
    echo "de_DE.UTF-8 could not be generated: the comma-locale tests will skip" >&2
fi
