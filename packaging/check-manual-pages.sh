#!/usr/bin/env bash
# Each manual page is clean roff (no groff warnings), carries its program's version, and
# describes every option that the program's --help names.
# Usage: check-manual-pages.sh GROFF PROGRAM PAGE [PROGRAM PAGE]...
set -euo pipefail
groff=$1
shift
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
while [ $# -ge 2 ]; do
  program=$1 page=$2
  shift 2
  name=$(basename "$program")
  warnings=$("$groff" -man -ww -z -Tutf8 "$page" 2>&1) || fail "groff cannot set $page"
  [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
  version=$("$program" --version | awk '{print $2}')
  head -n 1 "$page" | grep -qF "\"tavrek $version\"" || fail "$page does not carry version $version"
  help=$("$program" --help) || fail "$name --help exits with status $?"
  options=$(grep -o -- '--[a-z0-9][a-z0-9-]*' <<<"$help" | sort -u)
  [ -n "$options" ] || fail "$name --help names no option"
  for option in $options; do
    grep -qF -- "${option//-/\\-}" "$page" || fail "$page does not describe $option"
  done
done
[ "$failures" -eq 0 ] || exit 1
echo "manual pages match the programs"
