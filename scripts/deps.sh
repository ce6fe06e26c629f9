#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
set -euo pipefail
need=(cmake g++ clang libclang-rt-14-dev pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libpulse-dev libsndfile1-dev
      libespeak-ng-dev espeak-ng-data libsoxr-dev libsodium-dev libx11-dev pulseaudio pulseaudio-utils
      ccache poppler-utils fonts-liberation2 fonts-dejavu-core xdg-utils)
# scripts/screenshots makes the user guide's pictures small.
need+=(optipng)
# SCOWL's English word lists, from which the build makes the word banks.
need+=(scowl)
# The packaging tests: validators of the desktop's standards, the file-type tools, dpkg-deb.
need+=(appstream desktop-file-utils libxml2-utils shared-mime-info libfile-mimeinfo-perl dpkg-dev file)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
