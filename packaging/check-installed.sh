#!/usr/bin/env bash
# The installed game as a player gets it: every file in its place; started from a launcher (an
# empty working directory, a fresh home) the window reaches its first frame offscreen, makes the
# player's data folder and writes nothing where it was started; with XDG_DATA_HOME it uses that;
# started inside a game folder it keeps everything there; tavrek-sim plays a year.
# Usage: check-installed.sh PREFIX APP_ID VERSION
#        check-installed.sh --from-build BUILD_DIR APP_ID VERSION   (cmake --install into a scratch prefix first)
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if [ "$1" = --from-build ]; then
  cmake --install "$2" --prefix "$scratch/prefix" >/dev/null
  prefix=$scratch/prefix
  shift 2
else
  prefix=$1
  shift
fi
app=$1 version=$2
passed=0 failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}
empty_folder() { [ -d "$1" ] && [ -z "$(ls -A "$1")" ]; }
mode_of() { stat -c %a "$1"; }

# --- the files ----------------------------------------------------------------------------------
data=$prefix/share/tavrek
desktop=$prefix/share/applications/$app.desktop
for file in bin/tavrek bin/tavrek-sim share/tavrek/help/index1.html share/tavrek/help/index2.html \
  share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
  share/man/man6/tavrek.6.gz share/man/man6/tavrek-sim.6.gz; do
  check "$prefix/$file is installed" test -f "$prefix/$file"
done
for n in 01 02 03 04 05 06 07 08 09 10 11; do
  check "sound$n.wav is installed" test -f "$data/sound$n.wav"
done
icon=$(sed -n 's/^Icon=//p' "$desktop" 2>/dev/null || true)
for size in 16 32 48 64 128 256; do
  check "the launcher's icon '$icon' at ${size}x$size" test -f "$prefix/share/icons/hicolor/${size}x$size/apps/$icon.png"
done
exe=$(sed -n 's/^Exec=//p' "$desktop" 2>/dev/null | cut -d' ' -f1 || true)
check "the launcher's program '$exe' is installed" test -x "$prefix/bin/$exe"
check "the manual pages unpack" bash -c "gzip -t '$prefix/share/man/man6/tavrek.6.gz' '$prefix/share/man/man6/tavrek-sim.6.gz'"

# --- the programs' own answers --------------------------------------------------------------------
check "tavrek --version" test "$("$prefix/bin/tavrek" --version)" = "tavrek $version"
check "tavrek-sim --version" test "$("$prefix/bin/tavrek-sim" --version)" = "tavrek-sim $version"
check "tavrek-sim --help prints the usage and exits 0" bash -c "'$prefix/bin/tavrek-sim' --help | grep -q '^usage: tavrek-sim'"

# Starts the installed window offscreen until its first frame, in folder $1 with home $2 (and
# XDG_DATA_HOME $3 when given); its output goes to $scratch/out.
start_window() {
  local work=$1 home=$2 xdg=${3:-}
  (
    cd "$work"
    unset XDG_DATA_HOME
    [ -n "$xdg" ] && export XDG_DATA_HOME=$xdg
    HOME=$home QT_QPA_PLATFORM=offscreen timeout 120 "$prefix/bin/tavrek" --quit-after-first-frame
  ) >"$scratch/out" 2>&1
}

# --- started from a launcher --------------------------------------------------------------------
mkdir -p "$scratch/work" "$scratch/home"
check "started from a launcher, the window paints its first frame" start_window "$scratch/work" "$scratch/home"
cat "$scratch/out"
player=$scratch/home/.local/share/tavrek
check "the player's data folder $player is made" test -d "$player"
check "the first start wrote the settings there" test -f "$player/Tavrek!.ini"
check "the data folder is the player's own (700)" test "$(mode_of "$player" 2>/dev/null)" = 700
check "nothing was written to the working directory" empty_folder "$scratch/work"
check "sounds and help come from the install" grep -qF "game files in $(realpath "$data")" "$scratch/out"

# --- with XDG_DATA_HOME --------------------------------------------------------------------------
mkdir -p "$scratch/work2" "$scratch/home2"
check "with XDG_DATA_HOME, the window paints its first frame" \
  start_window "$scratch/work2" "$scratch/home2" "$scratch/xdg"
check "the settings are in \$XDG_DATA_HOME/tavrek" test -f "$scratch/xdg/tavrek/Tavrek!.ini"
check "no data folder in the home" test ! -e "$scratch/home2/.local/share/tavrek"
check "nothing was written to the working directory" empty_folder "$scratch/work2"

# --- started inside a game folder -----------------------------------------------------------------
folder=$scratch/game
mkdir -p "$folder/help" "$scratch/home3"
cp "$data/sound01.wav" "$folder/"
cp "$data/help/index1.html" "$folder/help/"
check "inside a game folder, the window paints its first frame" start_window "$folder" "$scratch/home3"
check "inside a game folder, the settings stay in it" test -f "$folder/Tavrek!.ini"
check "inside a game folder, no data folder in the home" test ! -e "$scratch/home3/.local/share/tavrek"

# --- tavrek-sim plays a year ----------------------------------------------------------------------
mkdir -p "$scratch/sim"
check "tavrek-sim --months 12 plays a year" bash -c \
  "cd '$scratch/sim' && '$prefix/bin/tavrek-sim' --seed 1750 --months 12 >'$scratch/sim.out' && grep -q '^no  *company' '$scratch/sim.out'"
tail -n 11 "$scratch/sim.out" 2>/dev/null || true

echo "installed game: $passed checks passed, $failures failed"
[ "$failures" -eq 0 ]
