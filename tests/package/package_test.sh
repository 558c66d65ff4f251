#!/usr/bin/env bash
# Checks of what the project installs, run by ctest (label "package"):
#   package_test.sh deb BUILD_DIR VYK APP_ID   the package cpack builds: files, version, deps
#   package_test.sh completion VYK COMPLETION  bash completion knows every command and option
#   package_test.sh mime MIME_XML              the file types reach the MIME database
set -euo pipefail
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The commands of "vyk --help" ("project new", "match", ...), one a line.
commands() { "$1" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z]\+\( [a-z]\+\)\?\)  .*/\1/p'; }

case $1 in
deb)
  build=$2 vyk=$3 id=$4
  # gzip and no stripping: the contents are the point here, not the smallest file.
  cpack --config "$build/CPackConfig.cmake" -B "$work" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip \
    -D CPACK_STRIP_FILES=FALSE >"$work/cpack.log" || { cat "$work/cpack.log" >&2; fail "cpack"; }
  debs=("$work"/vyk-edit_*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "no vyk-edit_*.deb: ${debs[*]}"; fi
  deb=${debs[0]}
  dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
  for f in usr/bin/vyk usr/bin/vykedit usr/share/applications/$id.desktop \
    usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml \
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/man/man1/vyk.1.gz \
    usr/share/man/man1/vykedit.1.gz usr/share/bash-completion/completions/vyk; do
    grep -qx "\./$f" "$work/files" || fail "$f is not in the package"
  done
  for size in 16 22 24 32 48 64 128 256; do
    grep -qx "\./usr/share/icons/hicolor/${size}x$size/apps/$id.png" "$work/files" ||
      fail "no ${size}x$size icon"
  done
  [ "$(dpkg-deb -f "$deb" Package)" = vyk-edit ] || fail "package name"
  version=$("$vyk" --version | awk '{print $NF}')
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not vyk's $version"
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6charts6 libc6; do
    [[ ", $depends," == *", $lib "* ]] || fail "Depends lacks $lib: $depends"
  done
  [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no description"
  dpkg-deb -I "$deb" postinst | grep -q dialout || fail "postinst says nothing of dialout"
  ;;
completion)
  vyk=$2 script=$3
  # shellcheck disable=SC1090
  source "$script"
  complete_words() {  # WORD...: what TAB offers after them
    COMP_WORDS=(vyk "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vyk
    printf '%s\n' "${COMPREPLY[@]}" | sort
  }
  while read -r first second; do
    complete_words "" | grep -qx "$first" || fail "vyk TAB does not offer $first"
    if [ -n "$second" ]; then
      complete_words "$first" "" | grep -qx "$second" || fail "vyk $first TAB lacks $second"
    fi
    # shellcheck disable=SC2086  # the command's words are separate arguments
    options=$("$vyk" $first $second --help | sed -n 's/^  \(-h,\)\?\(--[a-z-]\+\).*/\2/p' | sort)
    # shellcheck disable=SC2086
    offered=$(complete_words $first $second --)
    [ "$options" = "$offered" ] ||
      fail "vyk $first $second -- TAB offers: ${offered//$'\n'/ }; the command has: ${options//$'\n'/ }"
  done < <(commands "$vyk")
  ;;
mime)
  mkdir -p "$work/mime/packages"
  cp "$2" "$work/mime/packages/"
  XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>"$work/errors" || fail "update-mime-database"
  [ ! -s "$work/errors" ] || fail "$(cat "$work/errors")"
  grep -q ':application/x-vyk-project:\*\.vyk$' "$work/mime/globs2" || fail "no *.vyk projects"
  grep -q ':application/x-vyk-meter:\*\.maf$' "$work/mime/globs2" || fail "no *.maf meters"
  ;;
*) fail "unknown check $1" ;;
esac
echo "OK: $1"
