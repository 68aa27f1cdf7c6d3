#!/usr/bin/env bash
# The launcher and the software-centre entry agree with the project: the entry names the
# launcher, its releases are NEWS.md's (same versions, same dates, same order), the newest is the
# project's version, and every screenshot it shows is one that tavrek-screens made
# (assets/screenshots, written by scripts/make-screenshots.sh).
# Usage: check-metadata.sh SOURCE_DIR APP_ID VERSION
set -euo pipefail
source=$1 app=$2 version=$3
meta=$source/packaging/$app.metainfo.xml
desktop=$source/packaging/$app.desktop
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

grep -q "<id>$app</id>" "$meta" || fail "$meta does not have the id $app"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$meta" || fail "$meta does not launch $app.desktop"
[ -f "$desktop" ] || fail "no launcher $desktop"
newest=$(grep -o '<release version="[^"]*"' "$meta" | head -n 1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest release in $meta is '$newest', the project's version is $version"
# "## 0.1 (2026-12-11)" in NEWS.md, '<release version="0.1" date="2026-12-11">' in the entry.
news_releases=$(sed -n 's/^## \([^ ]*\) (\([0-9-]*\))$/\1 \2/p' "$source/NEWS.md")
meta_releases=$(sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$meta")
[ -n "$news_releases" ] || fail "NEWS.md names no release as '## VERSION (YYYY-MM-DD)'"
[ "$(head -n 1 <<<"$news_releases" | cut -d' ' -f1)" = "$version" ] ||
  fail "the newest release in NEWS.md is not the project's version $version"
[ "$news_releases" = "$meta_releases" ] ||
  fail "the releases in $meta do not follow NEWS.md: '$(echo $meta_releases)' against '$(echo $news_releases)'"

shots=$(grep -o '<image>[^<]*</image>' "$meta" | sed 's|<image>.*/\([^/]*\)</image>|\1|')
[ -n "$shots" ] || fail "$meta shows no screenshot"
for shot in $shots; do
  picture=$source/assets/screenshots/$shot
  if [ ! -f "$picture" ]; then
    fail "screenshot $shot is not in assets/screenshots (bash scripts/make-screenshots.sh)"
  elif ! head -c 8 "$picture" | od -An -tx1 | grep -q '89 50 4e 47 0d 0a 1a 0a'; then
    fail "screenshot $shot is not a PNG picture"
  fi
done

[ "$failures" -eq 0 ] || exit 1
echo "launcher and software-centre entry agree with version $version"
