#!/usr/bin/env bash
# Makes every generated asset again, byte for byte: builds the generators and runs them into assets/.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target tavrek-pictures
./build/default/tools/pictures/tavrek-pictures assets/pictures
