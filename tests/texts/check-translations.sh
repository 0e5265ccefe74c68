#!/bin/sh
# Runs lupdate over the sources into a copy of the catalogue and fails on
# every text the catalogue lacks a translation for (new or unfinished) and on
# every entry whose text is gone from the sources (vanished, obsolete).
#   check-translations.sh LUPDATE CATALOGUE.ts SOURCES.lst [LUPDATE OPTION...]
set -eu
lupdate=$1 catalogue=$2 sources=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$catalogue" "$work/attendance_en.ts"
"$lupdate" "$@" "@$sources" -ts "$work/attendance_en.ts" >"$work/lupdate.log" 2>&1 || {
  cat "$work/lupdate.log" >&2
  exit 1
}
# Name each bad entry with its context: the lines of the copy, a context's
# name remembered until its messages are read.
awk '
  /<name>/ { sub(/.*<name>/, ""); sub(/<\/name>.*/, ""); context = $0 }
  /<source>/ { source = $0; sub(/.*<source>/, "", source); sub(/<\/source>.*/, "", source) }
  /<translation/ && /type="(unfinished|vanished|obsolete)"/ {
    kind = $0; sub(/.*type="/, "", kind); sub(/".*/, "", kind)
    printf "%s: %s: %s\n", kind, context, source; bad++
  }
  /<translation><\/translation>/ { printf "empty: %s: %s\n", context, source; bad++ }
  END { if (bad) { printf "%d entries to mend in the catalogue (update_translations, then translate)\n", bad; exit 1 } }
' "$work/attendance_en.ts" >&2
