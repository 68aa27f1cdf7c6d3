#!/usr/bin/env bash
# The Debian package as a distribution and a player's machine get it: made by
# scripts/make-package.sh, reviewed by lintian (any error or warning fails), installed with
# apt-get (which brings its dependencies), checked as installed (the window started offscreen
# from a fresh home to its first frame, a savegame given on its command line opened, tavrek-sim
# for a year, the game server started once and its systemd unit verified: see
# packaging/check-installed.sh), purged, and nothing of it left under /usr.
# Installs system packages: run as root or with sudo. Usage: bash scripts/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
app=$(basename packaging/*.desktop .desktop)
scratch=$(mktemp -d)
started=$SECONDS

purge_package() {
  if dpkg-query -W -f='${Status}' tavrek 2>/dev/null | grep -q "install ok"; then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 purge -y -qq tavrek >/dev/null
  fi
}
# A package left from an earlier run would hide what this one installs; a failed check below
# must not leave this one behind either.
purge_package
trap 'purge_package; rm -rf "$scratch"' EXIT

echo "-- making the package"
deb=$(bash scripts/make-package.sh 2>"$scratch/make.log" | tail -n 1) || { cat "$scratch/make.log"; exit 1; }
# The release, without the package's revision: what the programs call their version.
version=$(dpkg-deb -f "$deb" Version)
version=${version%-*}
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB (made in $((SECONDS - started)) s)"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
dpkg-deb -c "$deb" | awk '{print $1, $3, $6}'

echo "-- lintian"
# Informational tags are shown; an error or a warning fails. The overrides, with their reasons
# from packaging/lintian-overrides, are listed after (shown, lintian would count them as failing).
lintian_started=$SECONDS
if ! lintian --display-info --fail-on error,warning "$deb"; then
  echo "FAIL: lintian found errors or warnings in $(basename "$deb")" >&2
  exit 1
fi
lintian --display-info --show-overrides "$deb" | grep -E '^[ON]: ' || true
echo "lintian: no errors, no warnings ($((SECONDS - lintian_started)) s)"

echo "-- installing it"
# What is under /usr before, to find what the package would leave behind after its purge.
find /usr -xdev | sort >"$scratch/usr-before"
dpkg-query -W -f='${Package}\n' | sort >"$scratch/packages-before"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -qq "$deb" >"$scratch/apt-install.log" 2>&1 ||
  { cat "$scratch/apt-install.log"; exit 1; }
dpkg-query -W -f='${Package} ${Version} ${Status}\n' tavrek

echo "-- the installed game"
bash packaging/check-installed.sh /usr "$app" "$version"

echo "-- purging it"
purge_package
status=$(dpkg-query -W -f='${Status}' tavrek 2>/dev/null || true)
[ -z "$status" ] || [[ $status == *not-installed ]] ||
  { echo "FAIL: dpkg still has tavrek as '$status' after its purge" >&2; exit 1; }
# Whatever is new under /usr now and belongs to no package that came with it (its
# dependencies and recommendations stay installed) is what the package left behind.
find /usr -xdev | sort >"$scratch/usr-after"
dpkg-query -W -f='${Package}\n' | sort >"$scratch/packages-after"
: >"$scratch/brought"
for package in $(comm -13 "$scratch/packages-before" "$scratch/packages-after"); do
  dpkg-query -L "$package" >>"$scratch/brought" 2>/dev/null || true
done
sort -u -o "$scratch/brought" "$scratch/brought"
comm -13 "$scratch/usr-before" "$scratch/usr-after" | comm -23 - "$scratch/brought" >"$scratch/left"
if [ -s "$scratch/left" ]; then
  echo "FAIL: left under /usr after the purge:" >&2
  cat "$scratch/left" >&2
  exit 1
fi
for file in /usr/games/tavrek /usr/games/tavrek-sim /usr/games/tavrek-server /usr/share/tavrek /usr/share/doc/tavrek \
  /usr/lib/systemd/system/tavrek-server.service \
  "/usr/share/applications/$app.desktop" "/usr/share/mime/packages/$app.xml"; do
  [ ! -e "$file" ] || { echo "FAIL: $file is still there after the purge" >&2; exit 1; }
done
! grep -qs "$app.desktop" /usr/share/applications/mimeinfo.cache ||
  { echo "FAIL: the desktop still opens a file type with $app.desktop after the purge" >&2; exit 1; }
trap 'rm -rf "$scratch"' EXIT
echo "package $(basename "$deb") made, reviewed, installed, ran and purged, nothing left under /usr ($((SECONDS - started)) s)"
