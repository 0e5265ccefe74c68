#!/bin/sh
# Runs bench_server against a throw-away durable PostgreSQL server (fsync and
# synchronous commits on, as at a site), started with scripts/pg-server.sh
# and stopped at the end whatever happens.
#
#   bench/bench_server.sh [--quick] [--check] [--rebuild]
#
# With --server HOST[:PORT] (or ATTENDANCE_TEST_PG_SERVER set) an existing
# server is used instead; then the figures are only as durable as it is.
# BUILD_DIR names the build folder (default: build).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bench=$build/bin/bench_server
if [ ! -x "$bench" ]; then
    echo "bench_server.sh: build it first: cmake --build $build --target bench_server" >&2
    exit 2
fi

for arg in "$@"; do
    [ "$arg" != --server ] || exec "$bench" "$@"
done
[ -z "${ATTENDANCE_TEST_PG_SERVER:-}" ] || exec "$bench" "$@"

dir=$(mktemp -d "${TMPDIR:-/tmp}/attendance-bench-pg.XXXXXX")
stop() {
    "$here/scripts/pg-server.sh" stop "$dir" >/dev/null 2>&1 || rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM HUP

"$here/scripts/pg-server.sh" start "$dir" --durable >/dev/null
# The server's address, login name and password.
set -a
. "$dir/env"
set +a
echo "throw-away durable server at $ATTENDANCE_TEST_PG_SERVER in $dir" >&2
"$bench" "$@"
