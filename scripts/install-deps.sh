#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, tests and runs with.
# Only missing packages are installed; needs root (or sudo) when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake clang-format pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
  qt6-multimedia-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
  libgl-dev
  libzint-dev zint
  libsqlite3-dev sqlite3
  libjpeg62-turbo-dev libjpeg-turbo-progs
  libbenchmark-dev
  fonts-wqy-zenhei fonts-arphic-uming fonts-arphic-ukai fontconfig libfontconfig-dev
  xvfb xauth xdotool
  libqt6svg6
  zbar-tools poppler-utils imagemagick
  time
  clang libclang-rt-14-dev lld
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  postgresql libqt6sql6-psql
  qt6-charts-dev libxlsxwriter-dev unzip
  lintian fakeroot dpkg-dev
  qt6-httpserver-dev qt6-websockets-dev
  chromium chromium-driver python3-selenium
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
