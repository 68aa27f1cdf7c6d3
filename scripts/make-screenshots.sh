#!/usr/bin/env bash
# Makes the software-centre screenshots again: the real window rendered by tavrek-screens, of which
# the pictures that the software-centre entry (packaging/*.metainfo.xml) shows are kept in
# assets/screenshots. Usage: bash scripts/make-screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" -j2 --target tavrek-screens >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/screens/tavrek-screens" "$work" >/dev/null
rm -f assets/screenshots/*.png
mkdir -p assets/screenshots
for shot in $(grep -o '<image>[^<]*</image>' packaging/*.metainfo.xml | sed 's|.*/\([^/]*\)</image>|\1|'); do
  cp "$work/$shot" "assets/screenshots/$shot"
  echo "assets/screenshots/$shot"
done
