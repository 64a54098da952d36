#!/usr/bin/env bash
# Builds the Debian package of the program: a release build installed under
# /usr, packed by CPack with its dependencies computed by dpkg-shlibdeps.
# Usage: tools/make-deb.sh [build folder]   (default: build/deb)
# The package lands in the build folder: cauchy_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/deb}

# Debian's compiler and linker flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" --target cauchy cauchy_manuals
(cd "$build" && cpack -G DEB)
ls "$build"/cauchy_*.deb
