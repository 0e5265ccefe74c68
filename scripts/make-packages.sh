#!/usr/bin/env bash
# Builds the Debian packages into OUTDIR: attendance-signdesk, attendance-manage
# and attendance-tools (CPack, DEB generator; packaging/Packaging.cmake).
#   scripts/make-packages.sh [--version VERSION] OUTDIR
#   scripts/make-packages.sh --build-deps      lists the build dependencies
# Installs the Debian packages the build needs when one is missing (root or
# sudo), and nothing else. The programs go to /usr/lib/attendance (commands
# in /usr/bin), read /etc/attendance/attendance.ini, and are built in
# build-deb/ (BUILD_DIR=...) with Debian's hardening flags, without tests and
# benchmarks. --version gives the packages another version than the
# project's (a later one, to try an upgrade); the programs stay the same, so
# a second run with another version only packs again.
set -euo pipefail

# What the build reads and runs: compiler and make, CMake and pkg-config, the
# Qt modules and tools (Qt Linguist's CMake files and lupdate/lrelease for the
# translations; Qt OpenGL's CMake files, which Qt Gui's look for, are
# only recommended by qt6-base-dev), OpenGL headers (Qt Gui's), libpq's
# header, the barcode and spreadsheet libraries, fontconfig's header, libjpeg-turbo's
# (the photos' reader); CPack's DEB generator with
# fakeroot, file and dpkg-shlibdeps. scripts/package-test.sh checks that the
# build used nothing else (packaging/check-build-deps.sh).
BUILD_DEPS=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-multimedia-dev qt6-charts-dev
  qt6-httpserver-dev qt6-websockets-dev qt6-tools-dev qt6-l10n-tools
  libgl-dev libpq-dev libzint-dev libxlsxwriter-dev libfontconfig-dev libjpeg62-turbo-dev
  dpkg-dev fakeroot file
)

version=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build-deps) printf '%s\n' "${BUILD_DEPS[@]}"; exit 0 ;;
    --version) version=${2:?--version takes a version}; shift ;;
    -*) echo "usage: $0 [--version VERSION] OUTDIR" >&2; exit 2 ;;
    *) break ;;
  esac
  shift
done
OUTDIR=${1:?usage: $0 [--version VERSION] OUTDIR}
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-deb}

missing=()
for p in "${BUILD_DEPS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing the build dependencies: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
  fi
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

mkdir -p "$OUTDIR"
OUTDIR=$(cd "$OUTDIR" && pwd)

# ccache, where the machine has it, keeps a rebuild short; the build does
# not need it.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Debian's hardening flags, all of them (also immediate binding), for the
# programs and the modules beside them; stripped as Debian strips.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr \
  -DATTENDANCE_PROGRAM_DIR=lib/attendance \
  -DATTENDANCE_CONFIG_DIR=/etc/attendance \
  -DATTENDANCE_PACKAGE_VERSION="${version:-}" \
  -DATTENDANCE_BUILD_TESTS=OFF -DATTENDANCE_BUILD_BENCH=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_STRIP="$PWD/packaging/strip-for-package.sh" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
# fakeroot: every file in the packages belongs to root.
(cd "$BUILD_DIR" && fakeroot cpack -G DEB -B "$OUTDIR/cpack" >/dev/null)
mv "$OUTDIR"/cpack/*.deb "$OUTDIR"/
rm -rf "$OUTDIR/cpack"
ls "$OUTDIR"/attendance-*.deb
