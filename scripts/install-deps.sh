#!/usr/bin/env bash
# Installs the Debian packages Letterloom needs to build, run and test.
# Usage: scripts/install-deps.sh [run|test]   (default: test, which is a superset)
set -euo pipefail
mode=${1:-test}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

build_pkgs=(cmake g++ make qt6-base-dev qt6-base-private-dev qt6-translations-l10n libgl-dev libfontconfig-dev libxcb1-dev fontconfig libcups2-dev)
run_pkgs=(fonts-liberation2)
test_pkgs=(xvfb xauth cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils
           fonts-noto-core fonts-noto-extra clang libclang-rt-14-dev python3 desktop-file-utils appstream)

pkgs=("${build_pkgs[@]}" "${run_pkgs[@]}")
[ "$mode" = test ] && pkgs+=("${test_pkgs[@]}")

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${pkgs[@]}" >/dev/null
