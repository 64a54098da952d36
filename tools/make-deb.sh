#!/usr/bin/env bash
# Builds the Debian packages: a release build installed under /usr, packed by
# CPack with the dependencies computed by dpkg-shlibdeps.
# Usage: tools/make-deb.sh [build folder] [CMake options ...]   (default: build/deb)
#   tools/make-deb.sh build/deb -DCAUCHY_DEB_REVISION=2
#   CAUCHY_JOBS=1 tools/make-deb.sh       (one compiler at a time on a shared machine)
# The packages land in the build folder: cauchy, libkesl1, libkesl-dev and
# libkesl-doc, each <name>_<version>-<revision>_<arch>.deb. Their time stamps
# come from the last commit, so two builds of one commit give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/deb}
shift || true

# Debian's compiler and linker flags, hardening included. The build folder's
# path is mapped to one name, as Debian's flags map the source folder's, so
# that it leaves no trace in the programs (their build ids hash it).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
mkdir -p "$build"
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) -ffile-prefix-map=$(realpath "$build")=build"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"

# The flags are given on every run, so a build folder made earlier takes them too.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" "$@"
# What the packages hold, not the tests and benchmarks.
cmake --build "$build" --target cauchy kesl kesl_api_doc cauchy_manuals ${CAUCHY_JOBS:+-j "$CAUCHY_JOBS"}
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
ls "$build"/*.deb
