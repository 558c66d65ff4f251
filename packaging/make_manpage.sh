#!/usr/bin/env bash
# Writes a program's man page from its --help and --version with help2man, gzipped.
# For vyk, the help of each command listed by "vyk --help" follows as a section of its own, so
# the page says what "vyk COMMAND --help" says.
# Usage: make_manpage.sh PROGRAM NAME_LINE INCLUDE OUT.gz
set -euo pipefail
program=$1 name=$2 include=$3 out=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Plain text as roff: backslashes and minus signs escaped, no line taken for a request.
roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^[.']/\\\\\\&&/"; }

cp "$include" "$work/include.h2m"
commands=$("$program" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z]\+\( [a-z]\+\)\?\)  .*/\1/p')
if [ -n "$commands" ]; then
  printf '[COMMANDS]\n' >>"$work/include.h2m"
  while read -r command; do
    printf '.SS "%s %s"\n.nf\n' "$(basename "$program")" "$command"
    # shellcheck disable=SC2086  # the command's words are separate arguments
    "$program" $command --help | sed 1d | roff
    printf '.fi\n'
  done <<<"$commands" >>"$work/include.h2m"
fi
help2man --no-info --no-discard-stderr --name="$name" --include="$work/include.h2m" \
  --output="$work/page" "$program"
gzip -9 -n -c "$work/page" >"$out"
