#!/usr/bin/env bash
# Builds the Debian packages, checks them with lintian (errors fail), installs
# them with apt, runs attendance-admin --help and signdesk --version, and
# removes them again. Needs root or sudo; run by CI after the tests.
#   scripts/package-test.sh [OUTDIR]      (default: a temporary folder)
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
OUTDIR=${1:-$(mktemp -d "${TMPDIR:-/tmp}/attendance-debs.XXXXXX")}
PACKAGES=(attendance-signdesk attendance-manage attendance-tools)

./scripts/make-packages.sh "$OUTDIR"

echo "lintian:"
lintian --fail-on error "$OUTDIR"/attendance-*.deb || {
  echo "package-test: lintian reports errors" >&2
  exit 1
}

# Whatever happens below, the machine is left without the packages.
remove_packages() {
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq "${PACKAGES[@]}" >/dev/null || true
}
trap remove_packages EXIT

# apt wants a path it can tell from a package name, and a file its sandbox
# user may read.
chmod a+rx "$OUTDIR"
chmod a+r "$OUTDIR"/*.deb
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$OUTDIR"/attendance-*.deb

attendance-admin --help >/dev/null
QT_QPA_PLATFORM=offscreen signdesk --version
getent group attendance >/dev/null
test -x /usr/lib/attendance/manage
test -f /usr/share/applications/signdesk.desktop
test -f /usr/lib/systemd/user/attendance-signdesk.service
remove_packages
trap - EXIT
for p in "${PACKAGES[@]}"; do
  if dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q " installed"; then
    echo "package-test: $p is still installed" >&2
    exit 1
  fi
done
echo "package-test: installed, ran and removed ${PACKAGES[*]}"
