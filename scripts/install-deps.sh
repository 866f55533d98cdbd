#!/usr/bin/env bash
# Installs the Debian packages Letterloom needs to build, run and test.
# Usage: scripts/install-deps.sh [run|test|bench]   (default: test; each mode includes the one before)
set -euo pipefail
mode=${1:-test}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

build_pkgs=(cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libfontconfig-dev libxcb1-dev fontconfig libcups2-dev libqpdf-dev)
run_pkgs=(fonts-liberation2 qt6-wayland)
# The tests queue keyboard input through Qt's private window-system interface,
# compress a hostile server's answer with zlib, read the program over the
# accessibility bus, run it under a Wayland compositor and rename fonts with fonttools;
# clang-format checks that the code keeps its style.
test_pkgs=(clang-format qt6-base-private-dev zlib1g-dev xvfb xauth cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils
           fonts-noto-core clang libclang-rt-14-dev python3 python3-fonttools desktop-file-utils appstream
           dbus at-spi2-core python3-pyatspi weston)
# The benchmarks measure on a large font set, as users with thousands of fonts have
# (bench/make-fontset.py makes larger ones), also with a screen reader's
# accessibility bus (bench/with-accessibility-bus.sh, which needs the test packages).
bench_pkgs=(fonts-noto-extra)

pkgs=("${build_pkgs[@]}" "${run_pkgs[@]}")
[ "$mode" = test ] || [ "$mode" = bench ] && pkgs+=("${test_pkgs[@]}")
[ "$mode" = bench ] && pkgs+=("${bench_pkgs[@]}")

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${pkgs[@]}" >/dev/null
