#!/usr/bin/env bash
# Makes the Debian package as a distribution builds it: the programs compiled with the flags
# dpkg-buildflags gives (all of Debian's hardening: stack protector, fortified functions, full
# RELRO with bind-now), in build/package (the "package" preset, only what the package holds),
# through ccache when it is installed; cpack wraps the install into the .deb, stripped as
# Debian strips. Installs the Debian packages it misses (run as root or with sudo).
# Usage: bash scripts/make-package.sh        the last line printed is the .deb's path
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh --package >&2
build=$PWD/build/package

# The distribution's flags; CMake reads no CPPFLAGS, so the preprocessor's go with the compiler's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
launcher=()
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake --preset package -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" "${launcher[@]}" >&2
# Only what the package holds: the programs, their manual pages and the changelog.
cmake --build --preset package -j2 --target tavrek tavrek-sim tavrek-server tavrek_man_pages tavrek_changelog >&2

rm -f "$build"/tavrek_*.deb
(cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
deb=$(ls "$build"/tavrek_*.deb)
echo "$deb"
