#!/usr/bin/env bash
# Makes the help pages' pictures again: the real window rendered by tavrek-screens, then reduced
# to 128-colour PNGs so the pages stay small. Usage: bash scripts/make-help-pictures.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" -j2 --target tavrek-screens >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/screens/tavrek-screens" --help-pictures "$work" >/dev/null
for picture in "$work"/*.png; do
  convert "$picture" -strip -colors 128 "PNG8:assets/help/$(basename "$picture")"
  echo "assets/help/$(basename "$picture")"
done
