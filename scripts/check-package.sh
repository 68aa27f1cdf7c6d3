#!/usr/bin/env bash
# The Debian package as a player's machine gets it: made by cpack from a build that is already
# there, installed with apt-get (which brings its dependencies), checked as installed (the window
# started offscreen from a fresh home to its first frame, tavrek-sim for a year: see
# packaging/check-installed.sh), and removed again. Installs system packages: run as root or
# with sudo. Usage: bash scripts/check-package.sh [BUILD_DIR]   (default build/ci)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/ci}")
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
app=$(basename packaging/*.desktop .desktop)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no configured build in $build" >&2; exit 1; }

remove_package() {
  if dpkg-query -W -f='${Status}' tavrek 2>/dev/null | grep -q "install ok installed"; then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq tavrek >/dev/null
  fi
}
# A package left from an earlier run would hide what this one installs; a failed check below
# must not leave this one behind either.
remove_package
trap remove_package EXIT

echo "-- making the package"
rm -f "$build"/tavrek_*.deb
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/tavrek_"$version"_*.deb)
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
dpkg-deb -c "$deb" | awk '{print $1, $3, $6}'

echo "-- installing it"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >"$build/apt-install.log" 2>&1 ||
  { cat "$build/apt-install.log"; exit 1; }
dpkg-query -W -f='${Package} ${Version} ${Status}\n' tavrek

echo "-- the installed game"
bash packaging/check-installed.sh /usr "$app" "$version"

echo "-- removing it"
remove_package
trap - EXIT
for file in /usr/bin/tavrek /usr/bin/tavrek-sim /usr/share/tavrek "/usr/share/applications/$app.desktop"; do
  if [ -e "$file" ]; then
    echo "FAIL: $file is still there after removing the package" >&2
    exit 1
  fi
done
echo "package $(basename "$deb") installed, ran and was removed"
