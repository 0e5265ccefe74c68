#!/usr/bin/env bash
# Fails when a file pair of shared/db (X.h and X.cpp) includes, directly or
# through others, a file of shared/db that includes it back: the database
# core must stack. Usage: check-db-cycles.sh [SOURCE_DIR]
set -u
cd "${1:-$(dirname "$0")/..}/shared/db" || exit 2
for f in *.h *.cpp; do
  m=${f%.*}
  echo "$m $m"
  grep -oE '#include "shared/db/[A-Za-z0-9_]+\.h"' "$f" |
    sed -E 's|.*/([A-Za-z0-9_]+)\.h"|\1|' | grep -vx "$m" | sed "s/^/$m /"
done | tsort >/dev/null
