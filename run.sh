#!/usr/bin/env bash
# Builds the programs, installs them into a program directory (default
# ./dist), gives it demo data the first time and starts the sign-in station.
#   PROGRAM_DIR=/some/where ./run.sh     another program directory
#   BUILD_DIR=build-x ./run.sh           another build directory
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

BUILD_DIR=${BUILD_DIR:-build}
PROGRAM_DIR=${PROGRAM_DIR:-dist}

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j"$(nproc)"
cmake --install "$BUILD_DIR" --prefix "$PROGRAM_DIR"
PROGRAM_DIR=$(cd "$PROGRAM_DIR" && pwd)

# Demo data only for a program directory that has no configuration yet;
# attendance-admin refuses anyway to write over an existing database.
if [ ! -e "$PROGRAM_DIR/attendance.ini" ]; then
  echo "Setting up $PROGRAM_DIR with demo data..."
  "$PROGRAM_DIR/attendance-admin" init "$PROGRAM_DIR" --demo
else
  echo "Using the existing set-up of $PROGRAM_DIR (delete attendance.ini and vorerur.dat there for a fresh demo)."
fi

echo
echo "Program directory: $PROGRAM_DIR"
echo "  administrator password of the demo: 123456"
echo "  demo cards (type the digits, then Enter, in the sign-in screen):"
echo "    1001 张伟  803001436112788"
echo "    1002 王芳  487631120892693"
echo "    1003 李娜  125582396919938"

if [ ! -x "$PROGRAM_DIR/signdesk" ]; then
  echo
  echo "The station (signdesk) is not built yet; the program directory is ready at $PROGRAM_DIR."
  exit 0
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo
  echo "No display (DISPLAY and WAYLAND_DISPLAY are empty), so the station cannot be shown."
  echo "Run it under a virtual X server instead:"
  echo "  xvfb-run -a ./run.sh"
  echo "or start it yourself on a machine with a desktop: $PROGRAM_DIR/signdesk"
  exit 0
fi

echo
echo "Starting $PROGRAM_DIR/signdesk ..."
cd "$PROGRAM_DIR"
exec ./signdesk
