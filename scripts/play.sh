#!/usr/bin/env bash
# Builds the game and starts it in its own game directory (settings, names and savegames
# live there). Until the window lands, this plays a headless game with tavrek-sim; any
# arguments go to tavrek-sim (default: twelve months on the first map).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target tavrek-sim
mkdir -p build/default/game
cd build/default/game
if [ $# -eq 0 ]; then set -- --months 12; fi
exec ../tavrek-sim "$@"
