#!/bin/sh
# Runs bench_station against a throw-away durable PostgreSQL server (fsync and
# synchronous commits on, as at a site), started with scripts/pg-server.sh
# and stopped at the end whatever happens. The soak stops and starts it.
#
#   bench/bench_station.sh [--quick] [--soak [--scans N]]
#
# BUILD_DIR names the build folder (default: build).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bench=$build/bin/bench_station
if [ ! -x "$bench" ]; then
    echo "bench_station.sh: build it first: cmake --build $build --target bench_station" >&2
    exit 2
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/attendance-bench-pg.XXXXXX")
stop() {
    "$here/scripts/pg-server.sh" stop "$dir" >/dev/null 2>&1 || rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM HUP

"$here/scripts/pg-server.sh" start "$dir" --durable >/dev/null
set -a
. "$dir/env"
set +a
echo "throw-away durable server at $ATTENDANCE_TEST_PG_SERVER in $dir" >&2
"$bench" --pg-dir "$dir" "$@"
