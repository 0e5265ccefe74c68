#!/usr/bin/env bash
# The Debian packages as a school's technician meets them. Builds them
# (scripts/make-packages.sh, timed) and checks that the build used only the
# build dependencies that script installs; lintian (errors fail; the tags are
# counted); installs them with apt and sets the first administrator password
# on a terminal (asked twice, two different answers refused); puts a
# database made as an earlier version made it in place and upgrades to the
# same packages with a higher version number, then finds the data intact and
# the database migrated; sets a new password as a member of the group;
# removes and purges, checking what is left. Needs root or sudo and a
# machine without the packages, /etc/attendance and /var/lib/attendance.
# Run by CI after the tests.
#   scripts/package-test.sh [OUTDIR]      (default: a temporary folder)
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
OUTDIR=${1:-$(mktemp -d "${TMPDIR:-/tmp}/attendance-debs.XXXXXX")}
mkdir -p "$OUTDIR"
OUTDIR=$(cd "$OUTDIR" && pwd)
PACKAGES=(attendance-signdesk attendance-manage attendance-tools attendance-web)
BUILD_DIR=${BUILD_DIR:-build-deb}
export BUILD_DIR

fail() {
  echo "package-test: $*" >&2
  exit 1
}
apt_get() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@" >/dev/null; }
installed() { dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null | grep -qx installed; }

# What the test itself uses besides the build dependencies.
for p in lintian sqlite3; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    apt_get update
    apt_get install --no-install-recommends lintian sqlite3
    break
  fi
done

# Packages an earlier run removed without purging, and their empty
# folders, are cleared; an installation or records are never touched.
for p in "${PACKAGES[@]}"; do
  ! installed "$p" || fail "$p is installed: run this on a machine without the packages"
done
for p in "${PACKAGES[@]}"; do
  if dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx config-files; then
    $SUDO dpkg --purge "$p" >/dev/null
  fi
done
for d in /etc/attendance /var/lib/attendance; do
  if [ -d "$d" ]; then $SUDO rmdir "$d" 2>/dev/null || true; fi
  [ ! -e "$d" ] || fail "$d holds files: run this on a machine without an attendance installation"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/attendance-pkgtest.XXXXXX")
chmod 755 "$work"

# Build, timed, and what it used.
start=$(date +%s)
./scripts/make-packages.sh "$OUTDIR/first"
echo "package-test: packages built in $(($(date +%s) - start)) s"
# shellcheck disable=SC2046
packaging/check-build-deps.sh "$BUILD_DIR" $(./scripts/make-packages.sh --build-deps)

echo "lintian:"
lintian_out="$OUTDIR/lintian.txt"
lintian -I --tag-display-limit 0 "$OUTDIR"/first/attendance-*.deb >"$lintian_out" || true
cat "$lintian_out"
counts=""
for level in E W I P; do
  counts+="$level=$(grep -c "^$level: " "$lintian_out" || true) "
done
echo "package-test: lintian tags: $counts"
! grep -q '^E: ' "$lintian_out" || fail "lintian reports errors"

# The same packages with a higher version number (only packed again).
base=$(dpkg-deb -f "$OUTDIR"/first/attendance-tools_*.deb Version)
./scripts/make-packages.sh --version "$base+upgrade1" "$OUTDIR/upgrade" >/dev/null
dpkg --compare-versions "$base+upgrade1" gt "$base" || fail "the upgrade's version is not higher"

# Whatever happens below, the machine is left without the packages and the
# folders they and this test made.
clean_up() {
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${PACKAGES[@]}" >/dev/null 2>&1 || true
  $SUDO rm -rf /etc/attendance /var/lib/attendance "$work"
  if getent passwd attendance-web >/dev/null; then $SUDO deluser --system attendance-web >/dev/null || true; fi
  if getent group attendance >/dev/null; then $SUDO delgroup --system attendance >/dev/null || true; fi
}
trap clean_up EXIT

# apt wants a path it can tell from a package name, and files its sandbox
# user may read.
chmod -R a+rX "$OUTDIR"
apt_get install "$OUTDIR"/first/attendance-*.deb

attendance-admin --help >"$work/help"
grep -q "by default /etc/attendance" "$work/help" ||
  fail "attendance-admin --help does not name /etc/attendance as the default"
QT_QPA_PLATFORM=offscreen signdesk --version
getent group attendance >/dev/null || fail "no group attendance"
for d in /etc/attendance /var/lib/attendance; do
  [ "$(stat -c '%a %G' "$d")" = "2770 attendance" ] || fail "$d is not 2770 attendance"
done
[ "$(readlink /usr/bin/attendance-manage)" = ../lib/attendance/manage ] ||
  fail "/usr/bin/attendance-manage does not lead to the office program"
[ ! -e /usr/bin/manage ] || fail "/usr/bin/manage is there"
test -x /usr/lib/attendance/manage
grep -qx 'Name\[zh_CN\]=签到系统管理软件' /usr/share/applications/manage.desktop ||
  fail "the office program's menu entry changed its name"
for f in signdesk attendance-manage attendance-admin jpegenc attendance-web; do
  [ -s "/usr/share/man/man1/$f.1.gz" ] || fail "no manual page for $f"
done
zcat /usr/share/man/man1/attendance-admin.1.gz >"$work/admin.1"
grep -q 'set\\-admin\\-password' "$work/admin.1" ||
  fail "attendance-admin's manual page lacks a command"
test -f /usr/lib/systemd/user/attendance-signdesk.service
# The web pages: a system unit shipped disabled, run as their own system
# user in the group; without a password the program refuses to serve.
test -f /usr/lib/systemd/system/attendance-web.service
[ ! -e /etc/systemd/system/multi-user.target.wants/attendance-web.service ] ||
  fail "the web pages' service is enabled before a password is set"
id -nG attendance-web | grep -qw attendance || fail "no system user attendance-web in the group"
status=0
$SUDO runuser -u attendance-web -- /usr/bin/attendance-web 2>"$work/web" || status=$?
[ "$status" = 3 ] && grep -q "web-password" "$work/web" ||
  fail "attendance-web without a password did not refuse with status 3"
case "$(dpkg-query -W -f='${Recommends}' attendance-tools)" in
  *libqt6sql6-psql*) ;;
  *) fail "libqt6sql6-psql is not recommended" ;;
esac

# Answers typed on a terminal (util-linux script), each only once its
# prompt has appeared. ask_on_terminal TRANSCRIPT COMMAND [PROMPT ANSWER]...
ask_on_terminal() {
  local transcript=$1 command=$2
  shift 2
  rm -f "$work/tty-in" "$transcript"
  mkfifo "$work/tty-in"
  script -qfec "$command" "$transcript" <"$work/tty-in" >/dev/null &
  local pid=$!
  exec 3>"$work/tty-in"
  local seen=0
  while [ $# -ge 2 ]; do
    local waited=0
    # Each prompt is looked for after the one answered before.
    until tail -c +$((seen + 1)) "$transcript" 2>/dev/null | grep -qF -- "$1"; do
      sleep 0.2
      waited=$((waited + 1))
      if [ "$waited" -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then
        exec 3>&-
        echo "package-test: no prompt \"$1\"" >&2
        cat "$transcript" >&2 || true
        wait "$pid" || true
        return 1
      fi
    done
    seen=$(stat -c %s "$transcript")
    printf '%s\n' "$2" >&3
    shift 2
  done
  exec 3>&-
  wait "$pid"
}

# The first password: two different answers change nothing; then it is set.
init="attendance-admin init /etc/attendance --data /var/lib/attendance --password - --unit 测试学校"
if ask_on_terminal "$work/init1" "$init" "--password: " "Erst-1" "--password (again): " "Erst-2"; then
  fail "init took two different passwords"
fi
grep -q "differ" "$work/init1" || fail "init did not say why it refused"
[ ! -e /etc/attendance/attendance.ini ] && [ ! -e /var/lib/attendance/vorerur.dat ] ||
  fail "a refused init left files"
ask_on_terminal "$work/init2" "$init" "--password: " "Erst-1" "--password (again): " "Erst-1" ||
  fail "init with the same password twice failed"
! grep -q "Erst-1" "$work/init1" "$work/init2" || fail "a typed password was shown"
$SUDO chgrp attendance /etc/attendance/attendance.ini /var/lib/attendance/vorerur.dat

# A database as an earlier version left it: the demo's records in the three
# tables only, without the tables and triggers later versions add.
attendance-admin init "$work/old" --demo >/dev/null
old="$work/old/vorerur.dat"
sqlite3 "$old" "SELECT 'DROP ' || type || ' IF EXISTS ' || name || ';' FROM sqlite_master
                WHERE type IN ('table', 'trigger') AND name NOT IN ('Dept', 'Employee', 'Presence')
                AND name NOT LIKE 'sqlite_%'" | sqlite3 "$old"
sqlite3 "$old" "VACUUM"
records="SELECT ID, DNAME, PASSWORD FROM Dept ORDER BY ID;
         SELECT ID, DID, ENUMBER, EBARCODE, ENAME, HEADIMG, ENTERDATE FROM Employee ORDER BY ID;
         SELECT ENUMBER, ENTERTIME, EXITTIME FROM Presence ORDER BY ENUMBER, ENTERTIME"
sqlite3 -cmd ".mode quote" "$old" "$records" | sha256sum >"$work/records.before"
[ "$(sqlite3 "$old" "SELECT COUNT(*) FROM sqlite_master WHERE name IN ('Correction', 'WorkSchedule')")" = 0 ]
$SUDO install -m 0660 -g attendance "$old" /var/lib/attendance/vorerur.dat

# The upgrade: stations stopped, the database copied aside, then apt.
cp -p /var/lib/attendance/vorerur.dat "$work/vorerur.dat.backup"
ini_before=$(sha256sum </etc/attendance/attendance.ini)
apt_get install "$OUTDIR"/upgrade/attendance-*.deb
for p in "${PACKAGES[@]}"; do
  [ "$(dpkg-query -W -f='${Version}' "$p")" = "$base+upgrade1" ] || fail "$p was not upgraded"
done
[ "$(sha256sum </etc/attendance/attendance.ini)" = "$ini_before" ] ||
  fail "the upgrade changed attendance.ini"

# A member of the group opens it (as a program does at its start): the
# later tables are added, every record stays as it was.
as_member() { $SUDO runuser -u nobody -g attendance -- "$@"; }
as_member attendance-admin check >/dev/null || fail "a member of the group cannot open the database"
for t in Correction MonthClose WorkSchedule WorkCalendar ScanReplay; do
  [ "$(sqlite3 /var/lib/attendance/vorerur.dat \
        "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = '$t'")" = 1 ] ||
    fail "the upgraded database lacks the table $t"
done
sqlite3 -cmd ".mode quote" /var/lib/attendance/vorerur.dat "$records" | sha256sum | cmp -s - "$work/records.before" ||
  fail "the records changed in the upgrade"

# A new password by a member of the group, with its row of the trail; a
# user outside the group is refused before being asked.
ask_on_terminal "$work/set" "runuser -u nobody -g attendance -- attendance-admin set-admin-password -" \
  "password: " "Neu-2" "(again): " "Neu-2" || fail "a member could not set the password"
as_member attendance-admin trail >"$work/trail"
grep -q "	password	" "$work/trail" || fail "no trail row for the password"
if $SUDO runuser -u nobody -- attendance-admin set-admin-password - </dev/null 2>"$work/outsider"; then
  fail "a user outside the group set the password"
fi
grep -q "attendance.ini" "$work/outsider" || fail "the refusal does not name attendance.ini"

# Removing keeps configuration and records; purging one package while the
# others stay keeps them too; purging the last removes /etc/attendance and
# keeps the records, which the README's command then removes.
apt_get remove "${PACKAGES[@]}"
[ -f /etc/attendance/attendance.ini ] || fail "remove took attendance.ini"
apt_get install "$OUTDIR"/upgrade/attendance-*.deb
apt_get purge attendance-tools
[ -f /etc/attendance/attendance.ini ] || fail "purging one package took the others' configuration"
apt_get purge attendance-signdesk attendance-manage attendance-web
[ ! -e /etc/attendance ] || fail "purge left /etc/attendance"
[ -s /var/lib/attendance/vorerur.dat ] || fail "purge took the records"
[ ! -e /usr/lib/attendance ] && [ ! -e /usr/bin/attendance-admin ] || fail "purge left programs"
$SUDO rm -rf /var/lib/attendance
trap - EXIT
clean_up
echo "package-test: built, checked, installed, upgraded, removed and purged ${PACKAGES[*]}"
