#!/usr/bin/env bash
# Builds the game and starts it in its game directory, build/default/game, where its settings,
# names, savegames, sounds and help pages live. Any arguments go to tavrek.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target tavrek_game_dir
cd build/default/game
exec ./tavrek "$@"
