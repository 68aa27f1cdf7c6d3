#!/usr/bin/env bash
# The installed game as a player gets it: every file in its place, the programs in games/; started
# from a launcher (an empty working directory, a fresh home) the window reaches its first frame
# offscreen, makes the player's data folder and writes nothing where it was started; with
# XDG_DATA_HOME it uses that; started inside a game folder it keeps everything there; given a
# savegame it opens it; tavrek-sim plays a year and keeps its files where the window does; the game
# server starts, says where it listens, and its systemd unit names it.
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
games=$prefix/games
doc=$prefix/share/doc/tavrek
desktop=$prefix/share/applications/$app.desktop
mime=$prefix/share/mime/packages/$app.xml
for file in games/tavrek games/tavrek-sim games/tavrek-server share/tavrek/help/index1.html share/tavrek/help/index2.html \
  share/applications/$app.desktop share/metainfo/$app.metainfo.xml share/mime/packages/$app.xml \
  share/man/man6/tavrek.6.gz share/man/man6/tavrek-sim.6.gz share/man/man6/tavrek-server.6.gz \
  lib/systemd/system/tavrek-server.service share/doc/tavrek/PROTOCOL.md share/doc/tavrek/copyright \
  share/doc/tavrek/changelog.gz share/doc/tavrek/changelog.Debian.gz share/lintian/overrides/tavrek; do
  check "$prefix/$file is installed" test -f "$prefix/$file"
done
for n in 01 02 03 04 05 06 07 08 09 10 11; do
  check "sound$n.wav is installed" test -f "$data/sound$n.wav"
done
icon=$(sed -n 's/^Icon=//p' "$desktop" 2>/dev/null || true)
for size in 16 32 48 64 128 256; do
  check "the launcher's icon '$icon' at ${size}x$size" test -f "$prefix/share/icons/hicolor/${size}x$size/apps/$icon.png"
done
check "no program in bin/" test ! -e "$prefix/bin/tavrek" -a ! -e "$prefix/bin/tavrek-sim" -a ! -e "$prefix/bin/tavrek-server"
exe=$(sed -n 's/^Exec=//p' "$desktop" 2>/dev/null | cut -d' ' -f1 || true)
check "the launcher's program '$exe' is installed" test -x "$games/$exe"
check "the launcher passes a file to the game" grep -qx 'Exec=tavrek %f' "$desktop"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime" 2>/dev/null || true)
check "the savegames' type '$type' is *.tsg" grep -q '<glob pattern="\*.tsg"/>' "$mime"
check "the launcher opens the savegames' type" grep -qx "MimeType=$type;" "$desktop"
# Installed by the package, the desktop's own triggers register the type and its program.
if [ "$prefix" = /usr ] && command -v update-mime-database >/dev/null; then
  check "the desktop knows the savegames' type" test -f "/usr/share/mime/$type.xml"
fi
if [ "$prefix" = /usr ] && command -v update-desktop-database >/dev/null; then
  check "the desktop opens savegames with the game" grep -qx "$type=$app.desktop;" /usr/share/applications/mimeinfo.cache
fi
check "the manual pages unpack" bash -c "gzip -t '$prefix/share/man/man6/tavrek.6.gz' '$prefix/share/man/man6/tavrek-sim.6.gz' '$prefix/share/man/man6/tavrek-server.6.gz'"
check "the changelog's newest release is $version" bash -c "gzip -dc '$doc/changelog.gz' | grep -m1 '^## ' | grep -q '^## $version '"
check "the Debian changelog's newest entry is $version" bash -c "gzip -dc '$doc/changelog.Debian.gz' | head -n 1 | grep -q '^tavrek ($version-[0-9]*) '"
check "the copyright file is in Debian's format" grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
check "the copyright file names the licence" grep -qx 'License: GPL-3+' "$doc/copyright"

# --- the programs' own answers --------------------------------------------------------------------
check "tavrek --version" test "$("$games/tavrek" --version)" = "tavrek $version"
check "tavrek-sim --version" test "$("$games/tavrek-sim" --version)" = "tavrek-sim $version"
check "tavrek-sim --help prints the usage and exits 0" bash -c "'$games/tavrek-sim' --help | grep -q '^usage: tavrek-sim'"
check "tavrek-server --version" test "$("$games/tavrek-server" --version)" = "tavrek-server $version"

# Starts the installed window offscreen until its first frame, in folder $1 with home $2 (and
# XDG_DATA_HOME $3 when not empty), the further arguments passed on; its output goes to
# $scratch/out.
start_window() {
  local work=$1 home=$2 xdg=${3:-}
  shift 3 || shift $#
  (
    cd "$work"
    unset XDG_DATA_HOME
    [ -n "$xdg" ] && export XDG_DATA_HOME=$xdg
    HOME=$home QT_QPA_PLATFORM=offscreen timeout 120 "$games/tavrek" --quit-after-first-frame "$@"
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
# From an ordinary folder without --dir, it keeps the settings and names where the window does.
mkdir -p "$scratch/sim" "$scratch/home4" "$scratch/saves"
check "tavrek-sim --months 12 plays a year" bash -c \
  "cd '$scratch/sim' && env -u XDG_DATA_HOME HOME='$scratch/home4' '$games/tavrek-sim' --seed 1750 --months 12 \
     --save '$scratch/saves/year.tsg' >'$scratch/sim.out' && grep -q '^no  *company' '$scratch/sim.out'"
tail -n 11 "$scratch/sim.out" 2>/dev/null || true
check "tavrek-sim keeps its settings in the player's data folder" test -f "$scratch/home4/.local/share/tavrek/Tavrek!.ini"
check "tavrek-sim wrote nothing to the working directory" empty_folder "$scratch/sim"

# --- a savegame given on the command line, as a file manager gives it ---------------------------
mkdir -p "$scratch/home5"
check "given a savegame, the window paints its first frame" \
  start_window "$scratch/work" "$scratch/home5" "" "$scratch/saves/year.tsg"
check "the savegame given is opened" grep -qxF "game opened from $scratch/saves/year.tsg" "$scratch/out"
check "a savegame given by a relative name is opened" \
  start_window "$scratch/saves" "$scratch/home5" "" year.tsg
check "the savegame given by a relative name is opened" grep -qxF "game opened from $scratch/saves/year.tsg" "$scratch/out"
# A file that is no savegame is reported as Game > Open reports it; the start screen stays.
echo "no savegame" >"$scratch/saves/broken.tsg"
check "given a file that is no savegame, the window still paints its first frame" \
  start_window "$scratch/work" "$scratch/home5" "" "$scratch/saves/broken.tsg"
check "a file that is no savegame is not taken as the game" bash -c "! grep -q '^game opened' '$scratch/out'"

# --- the game server ------------------------------------------------------------------------------
# Started once as the service starts it, on a free loopback port: its first line says where it
# listens, its database is made, and it is stopped again.
server_started() {
  "$games/tavrek-server" --data "$scratch/server" --listen 127.0.0.1:0 >"$scratch/server.out" 2>&1 &
  local pid=$! line=
  for _ in $(seq 100); do
    line=$(head -n 1 "$scratch/server.out")
    [ -n "$line" ] && break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "tavrek-server said: $line"
  [[ $line =~ ^listening\ on\ ws://127\.0\.0\.1:[1-9][0-9]*$ ]]
}
check "the installed server starts and says where it listens" server_started
check "the server made its database" test -f "$scratch/server/games.sqlite"
unit=$prefix/lib/systemd/system/tavrek-server.service
check "the service runs the server as its own user" grep -qx 'DynamicUser=yes' "$unit"
check "the service listens on loopback by default" grep -q '^ExecStart=.* --listen 127\.0\.0\.1:' "$unit"
# Installed in its place, the unit must name the installed program, and systemd must take it.
if [ "$prefix" = /usr ]; then
  check "the service starts the installed server" grep -q "^ExecStart=$games/tavrek-server " "$unit"
  if command -v systemd-analyze >/dev/null; then
    check "systemd-analyze verify takes the service" systemd-analyze verify --man=no "$unit"
  fi
fi

echo "installed game: $passed checks passed, $failures failed"
[ "$failures" -eq 0 ]
