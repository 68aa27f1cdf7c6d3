#!/usr/bin/env bash
# Makes every generated asset again, byte for byte, from the generators in tools/.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default

# Sounds: sound01.wav ... sound11.wav.
cmake --build --preset default -j2 --target tavrek-sounds
build/default/tools/sounds/tavrek-sounds assets/sounds
