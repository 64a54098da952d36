#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing.
# Usage: tools/install-packages.sh [--all] [extra package ...]
#   without --all: what building and running the program needs (./run)
#   with --all:    also the tests, benchmarks and fuzzers (./test): GoogleTest, an X server
#                  without a screen for the real-window tests and its tools,
#                  Google Benchmark, clang with its fuzzing runtime and the
#                  peer chart libraries the benchmarks compare against, and the
#                  tools that check the Debian package, its manual pages and metadata
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libxcb1-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev
  fonts-liberation fonts-dejavu-core fontconfig
)
if [[ "${1:-}" == "--all" ]]; then
  shift
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev desktop-file-utils locales poppler-utils xvfb x11-utils xdotool
    lintian appstream appstream-compose dpkg-dev groff-base man-db doxygen python3-numpy
    clang libclang-rt-14-dev
    libqcustomplot-dev qt6-charts-dev libqt6opengl6-dev
  )
fi
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$p")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "error: these Debian packages are missing and neither root nor sudo is available to install them: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
