#!/usr/bin/env bash
# Fails when a source file breaks the dependency rules between the folders:
#  - shared/ and imaging/ include no Qt Widgets header;
#  - no library folder includes a header of a program folder (signdesk/, manage/, tools/);
#  - report/ includes nothing of shared/ or platform/ (the engine knows no records).
# Usage: check-layering.sh SOURCE_DIR QT_WIDGETS_INCLUDE_DIR
set -u
src=${1:?source folder}
widgets=${2:?QtWidgets include folder}
cd "$src" || exit 2

failures=0
complain() {
  printf '%s\n' "$*"
  failures=$((failures + 1))
}

# The header names included by the C++ files of a folder, as "file:line:name".
includes() {
  [ -d "$1" ] || return 0
  grep -rn --include='*.cpp' --include='*.h' -E '^\s*#\s*include\s*[<"][^>"]+[>"]' "$1" |
    sed -E 's/^([^:]+:[0-9]+):\s*#\s*include\s*[<"]([^>"]+)[>"].*/\1:\2/'
}

# Basenames of the headers that live in the given folders.
headers_of() {
  for d in "$@"; do
    [ -d "$d" ] && find "$d" -name '*.h' -printf '%f\n'
  done | sort -u
}

widget_headers=$(ls "$widgets" 2>/dev/null)
[ -n "$widget_headers" ] || { echo "no Qt Widgets headers in $widgets"; exit 2; }

for folder in shared imaging; do
  while IFS=: read -r file line name; do
    [ -n "$file" ] || continue
    base=${name#QtWidgets/}
    if [[ $name == QtWidgets/* ]] || grep -qxF "$base" <<<"$widget_headers"; then
      complain "$file:$line includes the Qt Widgets header <$name>"
    fi
  done < <(includes "$folder")
done

program_headers=$(headers_of signdesk manage tools)
for folder in shared imaging platform report capture; do
  while IFS=: read -r file line name; do
    [ -n "$file" ] || continue
    base=${name##*/}
    if [[ $name =~ (^|/)(signdesk|manage|tools)/ ]] || grep -qxF "$base" <<<"$program_headers"; then
      complain "$file:$line includes \"$name\" of a program folder"
    fi
  done < <(includes "$folder")
done

record_headers=$(headers_of shared platform)
while IFS=: read -r file line name; do
  [ -n "$file" ] || continue
  if grep -qxF "${name##*/}" <<<"$record_headers"; then
    complain "$file:$line includes \"$name\" of shared/ or platform/"
  fi
done < <(includes report)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) break the layering rules"
  exit 1
fi
echo "layering: shared/, imaging/, platform/, report/ and capture/ keep their rules"
