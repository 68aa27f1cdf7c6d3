#!/usr/bin/env bash
# Writes the package's Debian changelog (changelog.Debian.gz) from NEWS.md: one entry for each
# release, newest first, VERSION-REVISION with the release's first line and its date. What each
# release brought stays in NEWS.md, installed beside it as changelog.gz.
# Usage: debian-changelog.sh NEWS.md OUTPUT.gz REVISION "NAME <MAIL>"
set -euo pipefail
news=$1 output=$2 revision=$3 maintainer=$4
releases=$(sed -n 's/^## \([^ ]*\) (\([0-9-]*\))$/\1 \2/p' "$news")
[ -n "$releases" ] || { echo "$news names no release as '## VERSION (YYYY-MM-DD)'" >&2; exit 1; }
while read -r version day; do
  # The first paragraph under the release's heading, as one line.
  summary=$(awk -v heading="## $version ($day)" '
    $0 == heading { inside = 1; next }
    inside && /^## / { exit }
    inside && NF == 0 && text != "" { exit }
    inside && NF > 0 { text = text (text == "" ? "" : " ") $0 }
    END { print text }' "$news")
  echo "tavrek ($version-$revision) unstable; urgency=medium"
  echo
  fold -s -w 72 <<<"${summary:-Release $version.} What it brought is in changelog.gz (NEWS.md)." | sed 's/ *$//; 1s/^/  * /; 2,$s/^/    /'
  echo
  echo " -- $maintainer  $(LC_ALL=C date -u -R -d "$day 12:00")"
  echo
done <<<"$releases" | sed '$d' | gzip -9n >"$output"
