#!/usr/bin/env bash
# Builds the Debian packages into OUTDIR: attendance-signdesk, attendance-manage
# and attendance-tools (CPack, DEB generator; packaging/Packaging.cmake).
#   scripts/make-packages.sh OUTDIR
# The programs go to /usr/lib/attendance (commands in /usr/bin), read
# /etc/attendance/attendance.ini, and are built in build-deb/ (BUILD_DIR=...)
# with Debian's hardening flags, without tests and benchmarks.
set -euo pipefail
OUTDIR=${1:?usage: $0 OUTDIR}
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-deb}

mkdir -p "$OUTDIR"
OUTDIR=$(cd "$OUTDIR" && pwd)

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DATTENDANCE_PROGRAM_DIR=lib/attendance \
  -DATTENDANCE_CONFIG_DIR=/etc/attendance \
  -DATTENDANCE_BUILD_TESTS=OFF -DATTENDANCE_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
# fakeroot: every file in the packages belongs to root.
(cd "$BUILD_DIR" && fakeroot cpack -G DEB -B "$OUTDIR/cpack" >/dev/null)
mv "$OUTDIR"/cpack/*.deb "$OUTDIR"/
rm -rf "$OUTDIR/cpack"
ls "$OUTDIR"/attendance-*.deb
