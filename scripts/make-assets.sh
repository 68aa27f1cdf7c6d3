#!/usr/bin/env bash
# Makes every generated asset again, byte for byte: builds the generators and runs them into assets/.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
cmake --preset default >/dev/null

# Pictures: maps, title, flags, symbols, sprites and masks, icon; each with its @2x twin.
cmake --build --preset default -j2 --target tavrek-pictures
./build/default/tools/pictures/tavrek-pictures assets/pictures

# Sounds: sound01.wav ... sound11.wav.
cmake --build --preset default -j2 --target tavrek-sounds
./build/default/tools/sounds/tavrek-sounds assets/sounds
