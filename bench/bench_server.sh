#!/bin/sh
# Runs bench_server against a throw-away durable PostgreSQL server (fsync and
# synchronous commits on, as at a site), started here and stopped at the end
# whatever happens.
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
[ -x "$bench" ] || bench=$build/bench/bench_server
if [ ! -x "$bench" ]; then
    echo "bench_server.sh: build it first: cmake --build $build --target bench_server" >&2
    exit 2
fi

server=${ATTENDANCE_TEST_PG_SERVER:-}
for arg in "$@"; do
    case $arg in
    --server) server=next ;;
    *) [ "$server" = next ] && server=$arg ;;
    esac
done
if [ -n "$server" ]; then
    exec "$bench" "$@"
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/attendance-bench-pg.XXXXXX")
stop() {
    "$here/scripts/pg-server.sh" stop "$dir" >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM HUP

# pg-server.sh prints the server's address (HOST:PORT) as its last line.
address=$("$here/scripts/pg-server.sh" start "$dir" --durable | tail -n 1)
case $address in
*:[0-9]*) ;;
*)
    echo "bench_server.sh: the server did not start (got \"$address\")" >&2
    exit 2
    ;;
esac
echo "throw-away durable server at $address in $dir" >&2
"$bench" --server "$address" --user postgres --password bench "$@"
