#!/bin/sh
# Installs the Debian packages that building, running and testing Vexadrome
# need. Safe to run again: it installs only what is missing.
set -eu

# Usage: install-deps.sh [--bench] [--fuzz] [--coverage]
PACKAGES="build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev"
# Windows, drawing and OpenGL, and what the windowed tests run on.
PACKAGES="$PACKAGES libx11-dev libxft-dev libxtst-dev libfontconfig-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri"
# Graph images without a display: an off-screen OpenGL context through EGL.
PACKAGES="$PACKAGES libegl-dev libegl-mesa0"
PACKAGES="$PACKAGES libpng-dev fonts-liberation2 xvfb xauth"
# The help pages: the HTML and CSS layout engine (it brings the gumbo parser).
PACKAGES="$PACKAGES liblitehtml-dev"
# `make run` asks xdpyinfo whether a display answers; `make install` and its
# test register the document types with shared-mime-info's tool.
PACKAGES="$PACKAGES x11-utils shared-mime-info"
# Time zones: the clock tests compare with the C library under a fixed zone.
PACKAGES="$PACKAGES tzdata"
for option in "$@"; do
    case "$option" in
        --bench) PACKAGES="$PACKAGES libmuparser-dev gnuplot-nox" ;;  # the comparisons of the benchmarks only
        --fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;  # libFuzzer and the sanitizer runtimes
        --coverage) PACKAGES="$PACKAGES gcovr" ;;               # the line coverage report of `make coverage`
        *) echo "unknown option $option" >&2; exit 2 ;;
    esac
done

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    echo "All build and test dependencies are installed."
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
