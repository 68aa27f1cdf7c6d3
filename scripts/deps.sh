#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  # The window: Qt 6 with its German translations, the window and map fonts.
  qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev fonts-liberation fonts-ebgaramond fontconfig
  # The game server and network play: WebSockets, its games kept in SQLite or PostgreSQL; the
  # server's tests start a PostgreSQL cluster of their own, and openssl makes the TLS tests'
  # certificates.
  qt6-websockets-dev libqt6sql6-sqlite libqt6sql6-psql postgresql openssl
  # The tests of the installed files: launcher, software-centre entry, manual pages.
  desktop-file-utils appstream groff-base)
if [ "${1:-}" = "--ci" ] || [ "${1:-}" = "--package" ]; then
  # The Debian package (scripts/make-package.sh): dpkg-buildflags gives the distribution's flags,
  # dpkg-shlibdeps its dependencies, cpack asks file which files are programs, binutils strips
  # them, lintian reviews the package as a distribution would.
  packages+=(dpkg-dev file binutils lintian)
fi
if [ "${1:-}" = "--ci" ]; then
  # Sanitizer and fuzz builds, a German locale for the file tests, the style check.
  packages+=(clang libclang-rt-14-dev locales clang-format git)
fi
if [ "${1:-}" = "--dev" ]; then
  # Looking at the real window and measuring sounds: a virtual display, clicks, screenshots, sox.
  packages+=(xvfb xauth xdotool imagemagick sox)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
