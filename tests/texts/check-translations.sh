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
# Name each bad entry with its context. Records end at "</message>"; a
# context's name is remembered until its messages are read. A translation
# must also keep the source's place markers (%1, %2, ...), or a number or a
# name would be lost from the English text.
awk -v RS='</message>' '
  function markers(text,    out, rest, m) {
    out = ""; rest = text
    while (match(rest, /%[0-9]/)) { m = substr(rest, RSTART, RLENGTH); out = out " " m; rest = substr(rest, RSTART + RLENGTH) }
    n = split(out, list, " "); for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (list[j] < list[i]) { t = list[i]; list[i] = list[j]; list[j] = t }
    out = ""; for (i = 1; i <= n; i++) if (i == 1 || list[i] != list[i - 1]) out = out list[i]
    return out
  }
  {
    if (match($0, /<name>[^<]*<\/name>/)) context = substr($0, RSTART + 6, RLENGTH - 13)
    if (!match($0, /<source>/)) next
    source = substr($0, RSTART + 8); sub(/<\/source>.*/, "", source)
    if (match($0, /<translation[^>]*type="(unfinished|vanished|obsolete)"/)) {
      kind = substr($0, RSTART, RLENGTH); sub(/.*type="/, "", kind); sub(/"$/, "", kind)
      printf "%s: %s: %s\n", kind, context, source; bad++; next
    }
    if (!match($0, /<translation>/)) next
    translation = substr($0, RSTART + 13); sub(/<\/translation>.*/, "", translation)
    if (translation == "") { printf "empty: %s: %s\n", context, source; bad++; next }
    if (markers(source) != markers(translation)) { printf "markers: %s: %s -> %s\n", context, source, translation; bad++ }
  }
  END { if (bad) { printf "%d entries to mend in the catalogue (update_translations, then translate)\n", bad; exit 1 } }
' "$work/attendance_en.ts" >&2
