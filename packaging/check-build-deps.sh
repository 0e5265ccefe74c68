#!/usr/bin/env bash
# Checks that a finished package build (BUILD_DIR) used nothing but what the
# build dependencies bring: every header the compiler read, every library
# and CMake package file the build named, every program it ran belongs to a
# listed package, to a package those depend on (recursively), or to an
# essential one. A file of no package (/usr/local, a hand-made copy) fails.
#   packaging/check-build-deps.sh BUILD_DIR PACKAGE...
set -euo pipefail
BUILD_DIR=${1:?usage: $0 BUILD_DIR PACKAGE...}
shift
[ $# -gt 0 ] || { echo "usage: $0 BUILD_DIR PACKAGE..." >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/attendance-builddeps.XXXXXX")
trap 'rm -rf "$work"' EXIT

cache="$BUILD_DIR/CMakeCache.txt"
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$cache" | head -n1; }
{
  # Headers and sources (the compiler's dependency files).
  find "$BUILD_DIR" -name '*.o.d' -print0 | xargs -0 cat | tr ' \\' '\n\n'
  # Libraries and objects given to the linker, by path or as -lNAME.
  find "$BUILD_DIR" -name link.txt -print0 | xargs -0 cat | tr ' ' '\n' | sort -u |
    while read -r word; do
      case $word in
        -l*) "$(cache_value CMAKE_CXX_COMPILER)" -print-file-name="lib${word#-l}.so" ;;
        *) echo "$word" ;;
      esac
    done
  # The CMake package files found (each package's config file).
  sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=//p' "$cache" | while read -r dir; do
    if [ -d "$dir" ]; then find "$dir" -maxdepth 1 -name '*Config.cmake'; fi
  done
  # The programs the build and CPack run.
  for p in "$(cache_value CMAKE_CXX_COMPILER)" "$(cache_value CMAKE_AR)" \
           "$(cache_value PKG_CONFIG_EXECUTABLE)" cmake make fakeroot file readelf objdump \
           strip dpkg-shlibdeps dpkg-buildflags gzip; do
    [ -n "$p" ] && command -v "$p" || true
  done
  find "$BUILD_DIR" -name AutogenInfo.json -print0 | xargs -0 sed -n 's/.*"\(\/usr\/[^"]*\/\(moc\|uic\|rcc\)\)".*/\1/p'
} | grep -E '^/(usr|opt|lib|bin)/' | grep -v "^$(cd "$BUILD_DIR" && pwd)/" | sort -u >"$work/files"

# The package of each file: the path as named (a -dev package's link), else
# what it leads to, else without /usr (files registered before the /usr
# merge). dpkg-query answers "PACKAGE[, PACKAGE]: PATH" for each it knows.
owners() { xargs -d '\n' -r dpkg-query -S 2>/dev/null | grep -v '^diversion' || true; }
: >"$work/owners"
cp "$work/files" "$work/left"
for form in named resolved unmerged; do
  while read -r f; do
    case $form in
      named) echo "$f" ;;
      resolved) readlink -f "$f" || echo "$f" ;;
      unmerged) echo "${f#/usr}" ;;
    esac
  done <"$work/left" | paste - "$work/left" >"$work/forms"
  cut -f1 "$work/forms" | owners | sed 's/: \//\t\//' >"$work/found"
  # owner<TAB>form → owner<TAB>file named by the build
  awk -F'\t' 'NR == FNR { owner[$2] = $1; next }
               ($1 in owner) { print owner[$1] "\t" $2; next }
               { print $2 > "/dev/stderr" }' "$work/found" "$work/forms" \
    >>"$work/owners" 2>"$work/left.next"
  mv "$work/left.next" "$work/left"
done
mv "$work/left" "$work/orphans"

# What the listed packages bring, and the essential packages.
apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
  --no-breaks --no-replaces --no-enhances "$@" | grep -v '^ ' | tr -d '<>' | sed 's/:.*//' \
  >"$work/closure"
dpkg-query -W -f='${Package} ${Essential}\n' | awk '$2 == "yes" {print $1}' >>"$work/closure"
sort -u -o "$work/closure" "$work/closure"

status=0
while IFS=$'\t' read -r owners f; do
  covered=0
  for o in ${owners//,/ }; do
    if grep -qx "${o%%:*}" "$work/closure"; then
      covered=1
    fi
  done
  if [ "$covered" -eq 0 ]; then
    echo "check-build-deps: $f (from $owners) is not brought by the build dependencies" >&2
    status=1
  fi
done <"$work/owners"
if [ -s "$work/orphans" ]; then
  sed 's/^/check-build-deps: belongs to no package: /' "$work/orphans" >&2
  status=1
fi
used=$(cut -f1 "$work/owners" | tr ',' '\n' | sed 's/^ *//; s/:.*//' | sort -u | wc -l)
if [ "$status" -eq 0 ]; then
  echo "check-build-deps: $(wc -l <"$work/files") files of $used packages used, all brought by" \
       "the build dependencies ($*)"
fi
exit "$status"
